#include "platform/note_file_dialog.h"
#include "platform/qt_platform.h"
#include "support/test_environment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs inspect on the next modal dialog once it shows, then closes it.
void WhenModalShows(const std::function<void(QWidget*)>& inspect)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->deleteLater();
        inspect(modal);
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    });
    poll->start();
}

bool ShowsPlainText(QWidget* dialog, const QString& text)
{
    const QList<QLabel*> labels = dialog->findChildren<QLabel*>();
    return std::any_of(labels.cbegin(), labels.cend(), [&text](const QLabel* label) {
        return label->text() == text && label->textFormat() == Qt::PlainText;
    });
}

// The captions of the labels, buttons and group boxes the user can see.
QStringList VisibleCaptions(const QWidget* dialog)
{
    QStringList captions;
    for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            captions << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            captions << button->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            captions << group->title();
    }
    return captions;
}

} // namespace

namespace {

const QString NoteFileFilter = QStringLiteral("Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt");

} // namespace

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void typedNameIsTheNameUsed_data();
    void typedNameIsTheNameUsed();
    void typedFolderIsOpenedNotChosen();
    void returnInTheRealDialogSavesUnderTheTypedName();
    void filterMatchesBothLetterCases();
    void userTextIsNeverMarkup();
    void clipboardGivesBackWhatItWasGiven();
    void colourDialogOffersNoCustomColours();
    void fontDialogOffersNoEffects();
    void firstFileDialogStartsInTheHomeFolder_data();
    void firstFileDialogStartsInTheHomeFolder();
};

void TestQtPlatform::typedNameIsTheNameUsed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen"); // "@" stands for the dialog's folder
    QTest::newRow("quotation marks inside") << "my \"best\" note.SCB" << "@/my \"best\" note.SCB";
    QTest::newRow("a full path with quotation marks") << "/home/ann/w/my \"best\" note.SCB"
                                                      << "/home/ann/w/my \"best\" note.SCB";
    QTest::newRow("apostrophe and quotes") << "it's \"q\".SCB" << "@/it's \"q\".SCB";
    QTest::newRow("leading and trailing blanks") << " lead.scb " << "@/ lead.scb ";
    QTest::newRow("two names in quotes are one name") << "\"a.scb\" \"b.scb\"" << "@/\"a.scb\" \"b.scb\"";
    QTest::newRow("home folder") << "~/x.scb" << QDir::homePath() + "/x.scb";
}

// A relative name lies in the dialog's folder, not in the program's working directory.
void TestQtPlatform::typedNameIsTheNameUsed()
{
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir folder;
    NoteFileDialog dialog(nullptr, QFileDialog::AcceptSave, QtFileFilter(NoteFileFilter));
    dialog.setDirectory(folder.path());
    QVERIFY(dialog.fileNameBox());
    dialog.fileNameBox()->setText(typed);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenPath(), chosen.replace(u'@', folder.path()));
}

void TestQtPlatform::typedFolderIsOpenedNotChosen()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub dir")));
    NoteFileDialog dialog(nullptr, QFileDialog::AcceptOpen, QtFileFilter(NoteFileFilter));
    dialog.setDirectory(folder.path());
    dialog.fileNameBox()->setText(QStringLiteral("sub dir"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.directory().absolutePath(), folder.path() + QStringLiteral("/sub dir"));
    QVERIFY(dialog.chosenPath().isEmpty());
}

void TestQtPlatform::returnInTheRealDialogSavesUnderTheTypedName()
{
    QTemporaryDir folder;
    const QString typed = folder.path() + QStringLiteral("/my \"best\" note.SCB");
    QtPlatform platform;
    WhenModalShows([&typed](QWidget* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(box);
        box->setText(typed);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(platform.chooseFileToSave(NoteFileFilter), std::optional<QString>(typed));
}

void TestQtPlatform::filterMatchesBothLetterCases()
{
    NoteFileDialog dialog(nullptr, QFileDialog::AcceptOpen, QtFileFilter(NoteFileFilter));
    QCOMPARE(dialog.nameFilters(),
             (QStringList{"Scriblet Files (*.scb *.SCB)", "Text Files (*.txt *.TXT)"}));
    QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("Scriblet Files (*.scb *.SCB)"));
}

// A search string or a file name such as "<b>zz</b><br>y" is shown as typed.
void TestQtPlatform::userTextIsNeverMarkup()
{
    const QString text = QStringLiteral("The Text \"<b>zz</b><br>y\" Was Not Found");
    QtPlatform platform;
    bool plain = false;
    WhenModalShows([&](QWidget* box) { plain = ShowsPlainText(box, text); });
    platform.showMessage({text, QString(), MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
    QVERIFY(plain);

    plain = false;
    WhenModalShows([&](QWidget* box) { plain = ShowsPlainText(box, QStringLiteral("<i>prompt</i>")); });
    QCOMPARE(platform.askText(QStringLiteral("<i>prompt</i>"), QString(), QString()), std::nullopt);
    QVERIFY(plain);
}

// The offscreen clipboard lives in this process, so the desktop's is untouched.
void TestQtPlatform::clipboardGivesBackWhatItWasGiven()
{
    QtPlatform platform;
    for (const QString& text : {QStringLiteral("line one\nline two"), QStringLiteral("Café ☺"), QString()}) {
        QVERIFY(platform.setClipboardText(text));
        QCOMPARE(platform.clipboardText(), text);
    }
}

// The colour picker stays; the chosen colour is where the next dialog starts.
void TestQtPlatform::colourDialogOffersNoCustomColours()
{
    QtPlatform platform;
    QStringList captions;
    int wells = 0;
    WhenModalShows([&](QWidget* dialog) {
        captions = VisibleCaptions(dialog);
        const QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
        wells = int(std::count_if(widgets.cbegin(), widgets.cend(), [](const QWidget* widget) {
            return widget->isVisible() && widget->inherits("QWellArray");
        }));
        auto* colours = qobject_cast<QColorDialog*>(dialog);
        QVERIFY(colours);
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours->accept();
    });
    QCOMPARE(platform.chooseColor(), std::optional<QColor>(QColor(0x12, 0x34, 0x56)));
    QVERIFY2(captions.contains(QStringLiteral("&Basic colors")), qPrintable(captions.join(u'|')));
    QVERIFY2(captions.contains(QStringLiteral("&Pick Screen Color")), qPrintable(captions.join(u'|')));
    QVERIFY(!captions.contains(QStringLiteral("&Custom colors")));
    QVERIFY(!captions.contains(QStringLiteral("&Add to Custom Colors")));
    QCOMPARE(wells, 1);

    QColor start;
    WhenModalShows([&start](QWidget* dialog) { start = qobject_cast<QColorDialog*>(dialog)->currentColor(); });
    QCOMPARE(platform.chooseColor(), std::nullopt);
    QCOMPARE(start, QColor(0x12, 0x34, 0x56));
}

void TestQtPlatform::fontDialogOffersNoEffects()
{
    const QStringList families = QFontDatabase::families();
    const auto withBold = std::find_if(families.cbegin(), families.cend(), [](const QString& family) {
        return QFontDatabase::styles(family).contains(QStringLiteral("Bold"));
    });
    if (withBold == families.cend())
        QSKIP("No font with a bold style is installed");
    QtPlatform platform;
    QStringList captions;
    WhenModalShows([&captions, family = *withBold](QWidget* dialog) {
        captions = VisibleCaptions(dialog);
        auto* fonts = qobject_cast<QFontDialog*>(dialog);
        QVERIFY(fonts);
        fonts->setCurrentFont(QFont(family, 11, QFont::Bold));
        fonts->accept();
    });
    const std::optional<QFont> chosen = platform.chooseFont();
    QVERIFY(chosen);
    QCOMPARE(chosen->family(), *withBold);
    QVERIFY(chosen->bold());
    QVERIFY2(captions.contains(QStringLiteral("Sample")), qPrintable(captions.join(u'|')));
    for (const char* effect : {"Effects", "&Underline", "Stri&keout"})
        QVERIFY2(!captions.contains(QString::fromLatin1(effect)), effect);

    QFont start;
    WhenModalShows([&start](QWidget* dialog) { start = qobject_cast<QFontDialog*>(dialog)->currentFont(); });
    QCOMPARE(platform.chooseFont(), std::nullopt);
    QVERIFY(start.bold());
}

void TestQtPlatform::firstFileDialogStartsInTheHomeFolder_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("Save As, as an auto save of an untitled note shows it") << true;
    QTest::newRow("Open") << false;
}

// Not in the program's working directory, wherever it was started from.
void TestQtPlatform::firstFileDialogStartsInTheHomeFolder()
{
    QFETCH(bool, save);
    QTemporaryDir home;
    QTemporaryDir workingDirectory;
    const QByteArray oldHome = qgetenv("HOME");
    const QString oldWorkingDirectory = QDir::currentPath();
    qputenv("HOME", QFile::encodeName(home.path()));
    QVERIFY(QDir::setCurrent(workingDirectory.path()));

    QtPlatform platform;
    QString folder;
    WhenModalShows([&folder](QWidget* dialog) { folder = qobject_cast<QFileDialog*>(dialog)->directory().absolutePath(); });
    const std::optional<QString> chosen =
        save ? platform.chooseFileToSave(NoteFileFilter) : platform.chooseFileToOpen(NoteFileFilter);
    qputenv("HOME", oldHome);
    QDir::setCurrent(oldWorkingDirectory);
    QCOMPARE(chosen, std::nullopt);
    QCOMPARE(folder, home.path());
}

QTEST_MAIN(TestQtPlatform)
#include "test_qt_platform.moc"
