// The Auto Save and Timer Beep dialogs, driven through their controls.
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/timer_beep_dialog.h"
#include "subsystems/options/options_rig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

struct Dialogs : OptionsRig
{
    std::unique_ptr<IntervalDialog> open(const QString& which)
    {
        settings.AutoSaveTime = 10;
        settings.BeepTime = 60;
        if (which == QStringLiteral("Form14")) {
            auto dialog = std::make_unique<Form14>();
            dialog->load(settings, timer, ticker, platform);
            dialog->show();
            return dialog;
        }
        auto dialog = std::make_unique<Form15>();
        dialog->load(settings, platform);
        dialog->show();
        return dialog;
    }
    int number(const QString& which) const { return which == QStringLiteral("Form14") ? settings.AutoSaveTime : settings.BeepTime; }
};

void AddNumberRow(const char* name, const char* form, const char* typed, int stored)
{
    QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(form), QLatin1String(name))))
        << QString::fromLatin1(form) << QString::fromLatin1(typed) << stored;
}

} // namespace

class TestIntervalDialogs : public QObject
{
    Q_OBJECT

private slots:
    void okReadsTheNumber_data();
    void okReadsTheNumber();
    void closingWithoutOkKeepsTheNumber_data();
    void closingWithoutOkKeepsTheNumber();
    void loadShowsTheSettings_data();
    void loadShowsTheSettings();
    void controlsAndTabOrder_data();
    void controlsAndTabOrder();
};

void TestIntervalDialogs::okReadsTheNumber_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored"); // 0: refused, the dialog stays open
    AddNumberRow("blanks around", "Form14", "  5  ", 5);
    AddNumberRow("1.5 rounds to 2", "Form14", "1.5", 2);
    AddNumberRow("2.5 rounds to the even 2", "Form14", "2.5", 2);
    AddNumberRow("digits before letters", "Form14", "12abc", 12);
    AddNumberRow("lowest", "Form14", "1", 1);
    AddNumberRow("highest", "Form14", "60", 60);
    AddNumberRow("60.5 rounds to 60", "Form14", "60.5", 60);
    AddNumberRow("0", "Form14", "0", 0);
    AddNumberRow("0.5 rounds to 0", "Form14", "0.5", 0);
    AddNumberRow("61", "Form14", "61", 0);
    AddNumberRow("beyond 16 bits", "Form14", "99999", 0);
    AddNumberRow("letters", "Form14", "abc", 0);
    AddNumberRow("empty", "Form14", "", 0);
    AddNumberRow("negative", "Form14", "-5", 0);
    AddNumberRow("huge exponent", "Form14", "1e999", 0);
    AddNumberRow("lowest", "Form15", "1", 1);
    AddNumberRow("highest", "Form15", "3600", 3600);
    AddNumberRow("blanks around", "Form15", " 45 ", 45);
    AddNumberRow("3600.5 rounds to 3600", "Form15", "3600.5", 3600);
    AddNumberRow("0", "Form15", "0", 0);
    AddNumberRow("3601", "Form15", "3601", 0);
    AddNumberRow("letters", "Form15", "abc", 0);
    AddNumberRow("empty", "Form15", "", 0);
}

void TestIntervalDialogs::okReadsTheNumber()
{
    QFETCH(QString, form);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    Dialogs d;
    const auto dialog = d.open(form);
    const int before = d.number(form);
    dialog->textBox().setText(typed);
    QTest::keyClick(&dialog->textBox(), Qt::Key_Return); // OK is the default button
    if (stored != 0) {
        QCOMPARE(d.number(form), stored);
        QVERIFY(!dialog->isVisible());
        QVERIFY(d.platform.messages.isEmpty());
        return;
    }
    QCOMPARE(d.number(form), before);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->textBox().text(), typed);
    QCOMPARE(d.platform.messages.size(), 1);
    const MessageBoxRequest& message = d.platform.messages.front();
    QCOMPARE(message.icon, MessageIcon::Stop);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    if (form == QStringLiteral("Form14")) {
        QCOMPARE(message.text, QStringLiteral("Auto Save Time Must Be Between 1 And 60 Minutes"));
        QCOMPARE(message.title, QStringLiteral("Invalid Auto Save Time"));
    } else {
        QCOMPARE(message.text, QStringLiteral("The Beep Time Interval Must Be Between 1 And 3600 Seconds"));
        QCOMPARE(message.title, QStringLiteral("Invalid Beep Time"));
    }
}

void TestIntervalDialogs::closingWithoutOkKeepsTheNumber_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("how");
    for (const char* form : {"Form14", "Form15"}) {
        for (const char* how : {"Cancel", "Esc", "close box"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(form), QLatin1String(how))))
                << QString::fromLatin1(form) << QString::fromLatin1(how);
    }
}

// The number is discarded, but a click on the check box has taken effect.
void TestIntervalDialogs::closingWithoutOkKeepsTheNumber()
{
    QFETCH(QString, form);
    QFETCH(QString, how);
    Dialogs d;
    const auto dialog = d.open(form);
    const int before = d.number(form);
    dialog->checkBox().click();
    dialog->textBox().setText(QStringLiteral("7"));
    if (how == QStringLiteral("Cancel"))
        dialog->cancelButton().click();
    else if (how == QStringLiteral("Esc"))
        QTest::keyClick(&dialog->textBox(), Qt::Key_Escape);
    else
        dialog->close();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(d.number(form), before);
    QCOMPARE(form == QStringLiteral("Form14") ? d.settings.AutoSave : d.settings.TimerBeep, 1);
}

void TestIntervalDialogs::loadShowsTheSettings_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("text");
    QTest::newRow("Form14 on") << "Form14" << 1 << " 10";
    QTest::newRow("Form14 off") << "Form14" << 0 << " 10";
    QTest::newRow("Form15 on") << "Form15" << 1 << " 60";
    QTest::newRow("Form15 off") << "Form15" << 0 << " 60";
}

void TestIntervalDialogs::loadShowsTheSettings()
{
    QFETCH(QString, form);
    QFETCH(int, option);
    Dialogs d;
    d.settings.AutoSave = option;
    d.settings.TimerBeep = option;
    const auto dialog = d.open(form);
    QCOMPARE(dialog->checkBox().isChecked(), option == 1);
    QTEST(dialog->textBox().text(), "text");
    QCOMPARE(d.settings.AutoSave, option);
    QCOMPARE(d.settings.TimerBeep, option);
}

void TestIntervalDialogs::controlsAndTabOrder_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts"); // check box, label, OK, Cancel
    QTest::addColumn<QList<QRect>>("pixels"); // client, check box, text box, label at 96 DPI
    QTest::newRow("Form14") << "Form14" << "AutoSave..."
        << QStringList{" Auto Save Current .SCB File Every", " Minutes", "OK", "Cancel"}
        << QList<QRect>{QRect(185, 198, 386, 99), QRect(16, 8, 261, 21), QRect(280, 8, 29, 24), QRect(312, 12, 61, 21)};
    QTest::newRow("Form15") << "Form15" << "Timer Beep"
        << QStringList{" Elapsed Timer \"Beeps\" Every", "Seconds", "OK", "Cancel"}
        << QList<QRect>{QRect(278, 457, 386, 99), QRect(16, 8, 241, 21), QRect(264, 8, 45, 24), QRect(316, 12, 61, 21)};
}

void TestIntervalDialogs::controlsAndTabOrder()
{
    QFETCH(QString, form);
    QFETCH(QStringList, texts);
    QFETCH(QList<QRect>, pixels);
    Dialogs d;
    const auto dialog = d.open(form);
    QTEST(dialog->windowTitle(), "caption");
    QCOMPARE((QStringList{dialog->checkBox().text(), dialog->label().text(), dialog->okButton().text(),
                          dialog->cancelButton().text()}),
             texts);
    QCOMPARE(QRect(dialog->pos(), dialog->size()), pixels[0]);
    QCOMPARE(dialog->checkBox().geometry(), pixels[1]);
    QCOMPARE(dialog->textBox().geometry(), pixels[2]);
    QCOMPARE(dialog->label().geometry(), pixels[3]);
    // Whatever face stands in for MS Sans Serif, the captions are not clipped.
    QVERIFY(dialog->checkBox().sizeHint().width() <= dialog->checkBox().width());
    QVERIFY(dialog->label().sizeHint().width() <= dialog->label().width());
    QVERIFY(dialog->okButton().isDefault());
    QStringList order;
    QWidget* widget = &dialog->checkBox();
    for (int i = 0; i < 4; ++i, widget = widget->nextInFocusChain()) {
        while (!(widget->focusPolicy() & Qt::TabFocus))
            widget = widget->nextInFocusChain();
        order.append(widget->objectName());
    }
    QCOMPARE(order, (QStringList{"Check1", "Text1", "Command1", "Command2"}));
}

QTEST_MAIN(TestIntervalDialogs)
#include "test_interval_dialogs.moc"
