#include "platform/note_file_dialog.h"
#include "platform/qt_platform.h"
#include "support/test_environment.h"

#include <QApplication>
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
    void dialogsLeaveOutWhatIsNeverUsed();
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

// The font sample must stay tall enough to read with the effects gone.
void TestQtPlatform::dialogsLeaveOutWhatIsNeverUsed()
{
    QStringList seen;
    const auto look = [&seen](QWidget* dialog) {
        for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
            const QString text = widget->property("text").toString();
            if (widget->isVisible())
                seen << text << widget->property("title").toString()
                     << QString::fromLatin1(widget->metaObject()->className()).section(QStringLiteral("::"), -1)
                     << (widget->height() < widget->fontMetrics().height() ? "cut " + text : QString());
        }
    };
    QtPlatform platform;
    WhenModalShows(look);
    platform.chooseColor();
    WhenModalShows(look);
    platform.chooseFont();
    const QStringList shown{"QWellArray", "Sample", "AaBbYyZz"}; // the basic colours only
    const QStringList gone{"&Custom colors", "&Add to Custom Colors", "Effects", "cut AaBbYyZz"};
    for (const QString& caption : shown + gone)
        QVERIFY2(seen.count(caption) == int(shown.contains(caption)),
                 qPrintable(caption + QStringLiteral(" seen %1 times").arg(seen.count(caption))));
}

void TestQtPlatform::firstFileDialogStartsInTheHomeFolder()
{
    QDir::setCurrent(QDir::tempPath()); // not the folder the program was started in
    QtPlatform platform;
    QStringList folders;
    const auto look = [&folders](QWidget* dialog) { folders << static_cast<QFileDialog*>(dialog)->directory().path(); };
    WhenModalShows(look);
    platform.chooseFileToSave(NoteFileFilter);
    WhenModalShows(look);
    platform.chooseFileToOpen(NoteFileFilter);
    QCOMPARE(folders, QStringList(2, QDir::homePath()));
}

QTEST_MAIN(TestQtPlatform)
#include "test_qt_platform.moc"
