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

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLibrary>
#include <QMessageBox>
#include <QTimer>
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

// What a command needs around the real platform, for a note named Shopping.SCB.
struct PrintingNote
{
    PrintingNote() { settings.FileName = QStringLiteral("/home/ann/Shopping.SCB"); }
    Settings settings;
    DocumentState document;
    QtPlatform platform;
    QWidget owner;
    EditorControl editor{&owner};
    RecordingWindow window;
    NoteStorage storage;
    DocumentContext context{settings, document, platform, editor, window, storage};
};

// Opens the page settings from a print dialog, runs act on them, confirms both.
void InPageSettings(QPrintDialog& print, std::function<void(QDialog&)> act, int attempts = 300)
{
    if (attempts == 300)
        QTimer::singleShot(0, print.findChild<QPushButton*>(QStringLiteral("properties")), &QPushButton::click);
    WhenModalShown<QDialog>([&print, act, attempts](QDialog& settings) {
        if (!settings.inherits("QPrintPropertiesDialog"))
            return attempts > 0 ? InPageSettings(print, act, attempts - 1) : void();
        act(settings);
        settings.accept();
        print.accept();
    });
}

// The paper's width and height in the page settings' own unit.
QSizeF InSettingsUnit(QDialog& settings, const QPageSize& paper)
{
    const auto unit = settings.findChild<QComboBox*>(QStringLiteral("unitCombo"))->currentData().value<QPageLayout::Unit>();
    return paper.size(QPageSize::Unit(unit));
}

// Printer Setup, choosing the paper in the page settings as a user does.
void ChoosePaper(QtPlatform& platform, const QPageSize& paper)
{
    WhenModalShown<QPrintDialog>([paper](QPrintDialog& setup) {
        InPageSettings(setup, [paper](QDialog& settings) {
            auto* sizes = settings.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            sizes->setCurrentIndex(paper.id() == QPageSize::Custom ? sizes->findData(QVariant()) : sizes->findText(paper.name()));
            settings.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"))->setValue(InSettingsUnit(settings, paper).width());
            settings.findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight"))->setValue(InSettingsUnit(settings, paper).height());
        });
    });
    platform.setUpPrinter();
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
    void printedOnThePaperChosen_data();
    void printedOnThePaperChosen();
    void notPrintedIsTold_data();
    void notPrintedIsTold(); // last: it removes the queue
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
        InPageSettings(dialog, [](QDialog& page) {
            auto* perSheet = page.findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"));
            perSheet->setCurrentIndex(perSheet->findText(QStringLiteral("2 "), Qt::MatchStartsWith));
        });
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
        QVERIFY(Run(QStringLiteral("cat"), {QString(file).replace(QStringLiteral(".pdf"), QStringLiteral(".options"))}).contains(QStringLiteral("number-up=2")));
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

void TestPrintCups::printedOnThePaperChosen_data()
{
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("look"); // the print dialog's page settings are opened, printed chosen there and confirmed
    QTest::addColumn<QPageLayout>("printed"); // the paper and its orientation the job must have
    QString tabLine = QStringLiteral("a");
    for (char letter = 'b'; letter <= 'z'; ++letter)
        tabLine += u'\t' + QChar::fromLatin1(letter);
    const QPageSize card(QSizeF(100, 150), QPageSize::Millimeter);
    const QPageSize a4(QPageSize::A4);
    const auto on = [](const QPageSize& paper, QPageLayout::Orientation turn = QPageLayout::Portrait) { return QPageLayout(paper, turn, QMarginsF()); };
    QTest::newRow("tab line on A4") << a4 << tabLine + QStringLiteral("\r\nend") << false << on(a4);
    QTest::newRow("56 M on A5") << QPageSize(QPageSize::A5) << QString(56, u'M') << true << on(QPageSize(QPageSize::A5));
    QTest::newRow("custom 100 x 150 mm") << card << QStringLiteral("A small card\r\nwith two lines") << false << on(card);
    QTest::newRow("custom, looked at in Print") << card << QStringLiteral("A small card") << true << on(card);
    QTest::newRow("A4 chosen in Print over a custom paper") << card << QStringLiteral("On A4") << true << on(a4);
    QTest::newRow("landscape chosen in Print") << a4 << QStringLiteral("Turned") << true << on(a4, QPageLayout::Landscape);
}

// Every character is printed inside the printable area of the paper chosen
// in Printer Setup, or over it in Print, in a job titled with the note's name.
void TestPrintCups::printedOnThePaperChosen()
{
    QFETCH(QPageSize, paper);
    QFETCH(QString, text);
    QFETCH(bool, look);
    QFETCH(QPageLayout, printed);
    PrintingNote note;
    note.editor.setText(text);
    ChoosePaper(note.platform, paper);
    const int jobsBefore = CompletedJobs();
    WhenModalShown<QPrintDialog>([look, paper, printed](QPrintDialog& print) {
        if (!look)
            return print.accept();
        InPageSettings(print, [paper, printed](QDialog& settings) {
            QCOMPARE(settings.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"))->value(), InSettingsUnit(settings, paper).width());
            auto* sizes = settings.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            if (!printed.pageSize().isEquivalentTo(paper))
                sizes->setCurrentIndex(sizes->findText(printed.pageSize().name()));
            settings.findChild<QAbstractButton*>(printed.orientation() == QPageLayout::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"))->click();
        });
    });
    PrintDocument(note.context);
    QVERIFY(WaitUntil([&] { return CompletedJobs() == jobsBefore + 1; }, 30000));
    const QString pdf = JobFiles().last();
    QCOMPARE(Run(QStringLiteral("cat"), {QString(pdf).replace(QStringLiteral(".pdf"), QStringLiteral(".title"))}), QStringLiteral("Shopping.SCB"));
    // The PDF's pages are already turned: no landscape option turns them again.
    const QString options = Run(QStringLiteral("cat"), {QString(pdf).replace(QStringLiteral(".pdf"), QStringLiteral(".options"))});
    QVERIFY2(options.contains(QStringLiteral("media=") + printed.pageSize().key()) && !options.contains(QStringLiteral("landscape")), qPrintable(options));
    QCOMPARE(Run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}).remove(QRegularExpression(QStringLiteral("\\s"))),
             QString(text).remove(QRegularExpression(QStringLiteral("\\s"))));
    QPrinter probe(QPrinter::HighResolution);
    probe.setPageSize(printed.pageSize());
    probe.setPageOrientation(printed.orientation());
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+))")).match(Run(QStringLiteral("pdfinfo"), {pdf}));
    QCOMPARE(QSize(qRound(size.captured(1).toDouble()), qRound(size.captured(2).toDouble())), probe.pageLayout().fullRectPoints().size());
    const double tabStop = 8 * QFontMetrics(QFont(PrinterTextFont(), &probe), &probe).averageCharWidth() * 72.0 / probe.resolution();
    QHash<QString, int> onLine; // the words so far on each printed line, by the line's top
    const QRectF printable = probe.pageLayout().paintRectPoints().toRectF().adjusted(-0.5, -0.5, 0.5, 0.5);
    const QString boxes = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    auto words = QRegularExpression(QStringLiteral(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re")).globalMatch(boxes);
    QVERIFY(words.hasNext());
    for (QRegularExpressionMatch word; words.hasNext();) {
        word = words.next();
        QVERIFY2(printable.contains(QRectF(QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()),
                                           QPointF(word.captured(3).toDouble(), word.captured(4).toDouble()))),
                 qPrintable(word.captured(0)));
        if (text.contains(u'\t')) // letters a tab apart: each at the next stop
            QVERIFY2(qAbs(word.captured(1).toDouble() - probe.pageLayout().paintRect(QPageLayout::Point).left() - tabStop * onLine[word.captured(2)]++) < 0.5, qPrintable(word.captured(0)));
    }
}

void TestPrintCups::notPrintedIsTold_data()
{
    QTest::addColumn<QStringList>("queueCommand"); // run once the queue is chosen in the print dialog
    QTest::addColumn<QString>("message");
    QTest::newRow("rejecting queue") << QStringList{QStringLiteral("cupsreject"), QStringLiteral("scriblet-test")}
                                     << QStringLiteral("The Note Was Not Printed: Printer scriblet-test Is Not Accepting Jobs.");
    QTest::newRow("printing system gone after the queue was chosen") << QStringList{QStringLiteral("/nowhere/cups.sock")}
                                                                     << QStringLiteral("The Note Was Not Printed: The Printing System Is Not Running.");
    QTest::newRow("queue removed after it was chosen") << QStringList{QStringLiteral("lpadmin"), QStringLiteral("-x"), QStringLiteral("scriblet-test")}
                                                       << QStringLiteral("The Note Was Not Printed: Printer scriblet-test Does Not Exist.");
    // Last: the row before removed the queue for good, and without it no print dialog shows.
    QTest::newRow("no queue") << QStringList() << QStringLiteral("The Note Was Not Printed: No Printer Is Available.");
}

void TestPrintCups::notPrintedIsTold()
{
    QFETCH(QStringList, queueCommand);
    QFETCH(QString, message);
    PrintingNote note;
    // libcups's own server setting, which also ends the connection it keeps.
    const auto setServer = reinterpret_cast<void (*)(const char*)>(QLibrary(QStringLiteral("cups"), 2).resolve("cupsSetServer"));
    WhenModalShown<QPrintDialog>([queueCommand, setServer](QPrintDialog& dialog) {
        if (queueCommand.value(0).startsWith(u'/'))
            setServer(queueCommand[0].toUtf8().constData());
        else
            Run(queueCommand.value(0), queueCommand.mid(1));
        dialog.accept();
    });
    QString told;
    WhenModalShown<QMessageBox>([&told](QMessageBox& box) {
        told = box.icon() == QMessageBox::Critical ? box.text() : QStringLiteral("not a stop icon");
        box.accept();
    });
    PrintDocument(note.context);
    setServer(nullptr);
    QCOMPARE(told, message);
}

QTEST_MAIN(TestPrintCups)
#include "test_print_cups.moc"
