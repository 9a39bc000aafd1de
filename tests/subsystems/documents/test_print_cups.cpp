// Runs with a private CUPS server (support/with_cups_server.sh): the note goes
// through Qt's print dialog and the real printing system to a queue whose
// backend keeps each job as a PDF file.
#include "platform/editor_control.h"
#include "platform/qt_platform.h"
#include "platform/qt_printer.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/print_command.h"
#include "subsystems/documents/print_layout.h"
#include "support/modal_answer.h"
#include "support/recording_window.h"
#include "support/wait_until.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>

namespace {

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) // the process is killed on return
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int CompletedJobs()
{
    return int(Run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"),
                                              QStringLiteral("scriblet-test")})
                   .split(u'\n', Qt::SkipEmptyParts)
                   .size());
}

// The jobs kept by the queue's backend, oldest first.
QStringList JobFiles()
{
    QDir output(qEnvironmentVariable("SCRIBLET_PRINT_OUTPUT"));
    QStringList files = output.entryList({QStringLiteral("job-*.pdf")}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return a.mid(4).chopped(4).toInt() < b.mid(4).chopped(4).toInt();
    });
    for (QString& file : files)
        file = output.filePath(file);
    return files;
}

QStringList Words(const QString& text) { return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts); }

// A 29 994-character note (29 995 bytes on disk with its end byte) of
// numbered words in lines of varying length.
QString LargestNote()
{
    QString note;
    for (int word = 1; note.size() < 29994; ++word) {
        note += QStringLiteral("word%1").arg(word);
        note += word % 9 == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    note.truncate(29994);
    return note;
}

// Opens the dialog's options, where Qt would offer the printing system's own
// page range and, in the setup dialog, copies.
void ShowOptions(QPrintDialog& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().contains(QStringLiteral("Options")))
            button->click();
    }
}

bool Shown(QPrintDialog& dialog, const char* name)
{
    const QWidget* part = dialog.findChild<QWidget*>(QString::fromLatin1(name));
    return part && part->isVisibleTo(&dialog);
}

int ExpectedPages(const QString& text)
{
    QPrinter printer(QPrinter::HighResolution);
    const QFontMetrics metrics(QFont(PrinterTextFont(), &printer), &printer);
    const int linesPerPage = LinesPerPage(int(printer.pageRect(QPrinter::DevicePixel).height()), metrics.lineSpacing());
    const QList<QString> pages = PrintPageBlocks(text, linesPerPage);
    // The last page also takes the rest of the text; here it still fits.
    Q_ASSERT(PageBlockLines(pages.last()).size() <= linesPerPage);
    return int(pages.size());
}

} // namespace

class TestPrintCups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoCopiesThroughARealQueue_data();
    void twoCopiesThroughARealQueue();
    void printerSetupOffersNoCopiesAndNoPages();
};

void TestPrintCups::initTestCase()
{
    QVERIFY2(!qEnvironmentVariable("CUPS_SERVER").isEmpty(), "run this test through support/with_cups_server.sh");
    QCOMPARE(QPrinter().printerName(), QStringLiteral("scriblet-test"));
}

void TestPrintCups::twoCopiesThroughARealQueue_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("short note") << QStringLiteral("Buy milk\r\nCall Ann at 5 pm\r\n");
    QTest::newRow("29 995-byte note") << LargestNote();
}

// Two copies are two jobs; every word arrives in order on the right number of pages.
void TestPrintCups::twoCopiesThroughARealQueue()
{
    QFETCH(QString, text);
    Settings settings;
    DocumentState document;
    QtPlatform platform;
    QWidget owner;
    EditorControl editor(&owner);
    editor.setText(text);
    RecordingWindow window;
    NoteStorage storage;
    DocumentContext context{settings, document, platform, editor, window, storage};
    const int jobsBefore = CompletedJobs();
    WhenModalShown<QPrintDialog>([](QPrintDialog& dialog) {
        ShowOptions(dialog);
        QTest::qWait(50);
        QVERIFY(Shown(dialog, "copies"));
        QVERIFY(!Shown(dialog, "gbPrintRange"));
        auto* copies = dialog.findChild<QSpinBox*>(QStringLiteral("copies"));
        QVERIFY(copies);
        copies->setValue(2);
        dialog.accept();
    });
    PrintDocument(context);
    if (QTest::currentTestFailed())
        return;
    if (!WaitUntil([&] { return CompletedJobs() >= jobsBefore + 2; }, 30000))
        QFAIL(qPrintable(QStringLiteral("Not completed within 30 s: ") + Run(QStringLiteral("lpstat"), {QStringLiteral("-o")})));
    const QStringList files = JobFiles();
    QCOMPARE(files.size(), jobsBefore + 2);
    const int pages = ExpectedPages(text);
    for (const QString& file : files.mid(jobsBefore)) {
        const QString info = Run(QStringLiteral("pdfinfo"), {file});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))), qPrintable(info));
        const QString printed = Run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        QCOMPARE(Words(printed), Words(text));
    }
}

void TestPrintCups::printerSetupOffersNoCopiesAndNoPages()
{
    QtPlatform platform;
    bool checked = false;
    WhenModalShown<QPrintDialog>([&checked](QPrintDialog& dialog) {
        ShowOptions(dialog);
        QTest::qWait(50);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Setup"));
        QVERIFY(Shown(dialog, "tabs"));
        QVERIFY(!Shown(dialog, "copies"));
        QVERIFY(!Shown(dialog, "gbPrintRange"));
        checked = true;
        dialog.accept();
    });
    platform.setUpPrinter();
    QVERIFY(checked);
}

QTEST_MAIN(TestPrintCups)
#include "test_print_cups.moc"
