// Every surface the program paints keeps its text readable on a dark desktop
// theme as on a light one: measured on the pixels each widget draws.
#include "platform/classic_look.h"
#include "platform/editor_control.h"
#include "subsystems/editing/find_dialog.h"
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/elapsed_time_window.h"
#include "subsystems/options/glossary_dialog.h"
#include "subsystems/options/quick_files_dialog.h"
#include "subsystems/options/timer_beep_dialog.h"
#include "subsystems/tools/about_box.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"
#include "window/app_state.h"
#include "window/form5.h"
#include "window/startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QTest>

namespace {

QPalette DarkPalette()
{
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(53, 53, 53)}, {QPalette::WindowText, QColor(Qt::white)},
                                       {QPalette::Base, QColor(42, 42, 42)}, {QPalette::Text, QColor(Qt::white)},
                                       {QPalette::Button, QColor(53, 53, 53)}, {QPalette::ButtonText, QColor(Qt::white)}})
        dark.setColor(role, colour);
    return dark;
}

// The contrast between a widget's most common colour (its background) and
// the colour of its drawing that stands out most (its text).
double DrawnContrast(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                             [](const auto& a, const auto& b) { return a.second < b.second; })->first;
    double most = 1;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
        most = std::max(most, ContrastRatio(QColor(background), QColor(*it)));
    return most;
}

} // namespace

class TestReadableOnThemes : public QObject
{
    Q_OBJECT

private slots:
    void textStandsOutOnEverySurface_data();
    void textStandsOutOnEverySurface();
};

void TestReadableOnThemes::textStandsOutOnEverySurface_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QColor>("backColor"); // the note's background
    QTest::newRow("dark theme, white note") << true << QColor(Qt::white);
    QTest::newRow("dark theme, dark note") << true << QColor(0x12, 0x34, 0x56);
    QTest::newRow("light theme, white note") << false << QColor(Qt::white);
    QTest::newRow("light theme, dark note") << false << QColor(Qt::black);
}

void TestReadableOnThemes::textStandsOutOnEverySurface()
{
    QFETCH(bool, dark);
    QFETCH(QColor, backColor);
    QApplication::setPalette(dark ? DarkPalette() : QApplication::style()->standardPalette());
    ScopedUserDirectories dirs;
    AppState state;
    ScriptedPlatform platform;
    const auto window = RunStartup(state, platform, {});
    EditorControl& editor = window->editor();
    editor.setPlainText(QStringLiteral("Some words of a note"));
    editor.setBackColor(0, backColor);
    QList<QWidget*> surfaces{editor.viewport(), window->menuBar()};
    Form4 about;
    Form13 find;
    Form12 stopwatch;
    stopwatch.showTime(QStringLiteral("00:01:02"));
    Form14 autoSave;
    Form15 timerBeep;
    Form10 glossary;
    Form11 files;
    for (QWidget* form : QList<QWidget*>{&about, &find, &stopwatch, &autoSave, &timerBeep, &glossary, &files}) {
        for (QWidget* part : form->findChildren<QWidget*>())
            if (qobject_cast<QLabel*>(part) || qobject_cast<QCheckBox*>(part))
                surfaces.append(part);
    }
    for (QWidget* surface : surfaces)
        QVERIFY2(DrawnContrast(*surface) >= 4.5, qPrintable(surface->window()->objectName() + u' ' + surface->objectName()
                                                            + u' ' + QString::number(DrawnContrast(*surface))));
}

QTEST_MAIN(TestReadableOnThemes)
#include "test_readable_on_themes.moc"
