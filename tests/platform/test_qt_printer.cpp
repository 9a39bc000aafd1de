#include "platform/qt_printer.h"
#include "platform/spool_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The pages of a PDF as Qt writes it: the page objects, which must agree with
// the page tree's count; -1 when the file is missing, cut short or disagrees.
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF"))
        return -1;
    const QString pdf = QString::fromLatin1(bytes);
    int pageObjects = 0;
    for (auto it = QRegularExpression(QStringLiteral(R"(/Type\s*/Page(?!s))")).globalMatch(pdf); it.hasNext();
         it.next())
        ++pageObjects;
    const QRegularExpressionMatch tree =
        QRegularExpression(QStringLiteral(R"(/Type\s*/Pages\b.*?/Count\s+(\d+))"),
                           QRegularExpression::DotMatchesEverythingOption)
            .match(pdf);
    if (!tree.hasMatch() || tree.captured(1).toInt() != pageObjects)
        return -1;
    return pageObjects;
}

QStringList Lines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("Line %1 of the note").arg(i + 1));
    return lines;
}

// Runs act on the next modal dialog once it shows.
void WhenModalShows(const std::function<void(QPrintDialog&)>& act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        act(*dialog);
    });
    poll->start();
}

QPushButton* OkButton(QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

} // namespace

class TestQtPrinter : public QObject
{
    Q_OBJECT

private slots:
    void pagesInThePdf_data();
    void pagesInThePdf();
    void refusedJobDoesNothing();
    void printDialogGivesCopiesAndLeavesOne_data();
    void printDialogGivesCopiesAndLeavesOne();
    void setupDialogOnlyChoosesThePrinter();
};

void TestQtPrinter::pagesInThePdf_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("size");
    QTest::addColumn<QPrinter::PrinterMode>("mode");
    QTest::addColumn<QList<int>>("pages"); // lines drawn on each page; -1: as many as fit, -2: 2.5 times that
    QTest::addColumn<bool>("endJob");      // false: the destructor ends it
    QTest::addColumn<int>("expected");

    const auto high = QPrinter::HighResolution;
    const auto screen = QPrinter::ScreenResolution;
    QTest::newRow("ended at once") << QPageSize::A4 << high << QList<int>{} << true << 1;
    QTest::newRow("ended by the destructor") << QPageSize::Letter << screen << QList<int>{3} << false << 1;
    QTest::newRow("three full A4 pages") << QPageSize::A4 << high << QList<int>{-1, -1, -1} << true << 3;
    QTest::newRow("three Letter pages, the last short") << QPageSize::Letter << high << QList<int>{-1, -1, 1}
                                                        << true << 3;
    QTest::newRow("blank pages still count") << QPageSize::A4 << screen << QList<int>{0, 0} << true << 2;
    // Lines that do not fit go on to new pages; none is drawn below the printable area.
    QTest::newRow("two and a half pages' lines at once") << QPageSize::A4 << high << QList<int>{-2} << true << 3;
    QTest::newRow("then a new page") << QPageSize::Letter << high << QList<int>{-2, 1} << true << 4;
}

void TestQtPrinter::pagesInThePdf()
{
    QFETCH(QPageSize::PageSizeId, size);
    QFETCH(QPrinter::PrinterMode, mode);
    QFETCH(QList<int>, pages);
    QFETCH(bool, endJob);
    QFETCH(int, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(size));
    // Print files left in the temporary folder: the job removes one no
    // running copy holds and one it cannot open once it is a day old; it
    // keeps a running copy's, a new one it cannot open, and the user's own.
    QTemporaryDir temp;
    const auto restore = qScopeGuard([tmp = qgetenv("TMPDIR")] { qputenv("TMPDIR", tmp); });
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const SpoolFile held;
    const auto file = [&temp](const char* name) { return temp.filePath(QLatin1String(name)); };
    QVERIFY(QFile(file("scriblet-print-left00")).open(QIODevice::WriteOnly) && QFile(file("Scriblet-print-left00")).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(QStringLiteral("nowhere"), file("scriblet-print-link00")) && QFile::link(QStringLiteral("nowhere"), file("scriblet-print-old000")));
    const timespec twoDaysAgo[2] = {{std::time(nullptr) - 2 * 86400, 0}, {std::time(nullptr) - 2 * 86400, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(file("scriblet-print-old000")).constData(), twoDaysAgo, AT_SYMLINK_NOFOLLOW) == 0);
    QStringList kept{"Scriblet-print-left00", "scriblet-print-link00", QFileInfo(held.fileName()).fileName()};
    {
        QtPrinterDevice job(printer, QStringLiteral("NOTE.SCB"));
        QVERIFY(job.isActive());
        QStringList left = QDir(temp.path()).entryList(QDir::Files | QDir::System);
        QCOMPARE((left.sort(), left), (kept.sort(), kept));
        const int height = job.textHeight(QStringLiteral("x"));
        QVERIFY(height > 0);
        for (const QString& text : {QString(), QStringLiteral("Hg|"), QStringLiteral("ÄÉÇ ÿ"),
                                    QStringLiteral("a\tb"), QString(500, u'W')})
            QCOMPARE(job.textHeight(text), height);
        const int fit = job.printableHeight() / height;
        QVERIFY2(fit >= 50 && fit <= 90, qPrintable(QString::number(fit)));

        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0)
                job.newPage();
            job.drawLines(Lines(pages[i] == -1 ? fit : pages[i] == -2 ? fit * 5 / 2 : pages[i]));
        }
        if (endJob) {
            QCOMPARE(job.endJob(), std::nullopt);
            QVERIFY(!job.isActive());
            QCOMPARE(job.endJob(), std::nullopt);
        }
    }
    QCOMPARE(PdfPageCount(path), expected);
}

// A PDF printer without a file name has nowhere to print to.
void TestQtPrinter::refusedJobDoesNothing()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QtPrinterDevice job(printer, QStringLiteral("NOTE.SCB"));
    QVERIFY(!job.isActive());
    job.drawLines(Lines(3));
    job.newPage();
    QCOMPARE(job.endJob(), QStringLiteral("No Printer Is Chosen"));
    QVERIFY(!job.isActive());
}

void TestQtPrinter::printDialogGivesCopiesAndLeavesOne_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<std::optional<int>>("expected");

    QTest::newRow("one copy") << 1 << true << std::optional<int>(1);
    QTest::newRow("three copies") << 3 << true << std::optional<int>(3);
    QTest::newRow("cancelled") << 3 << false << std::optional<int>();
}

void TestQtPrinter::printDialogGivesCopiesAndLeavesOne()
{
    QFETCH(int, copies);
    QFETCH(bool, accept);
    QFETCH(std::optional<int>, expected);

    QPrinter printer;
    printer.setCollateCopies(false);
    bool offered = false;
    WhenModalShows([&](QPrintDialog& dialog) {
        offered = !dialog.testOption(QAbstractPrintDialog::PrintPageRange)
                  && !dialog.testOption(QAbstractPrintDialog::PrintToFile)
                  && dialog.findChild<QCheckBox*>(QStringLiteral("collate"))->isChecked();
        dialog.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(copies);
        if (accept)
            OkButton(dialog)->click();
        else
            dialog.reject();
    });
    QCOMPARE(RunPrintDialog(printer, nullptr), expected);
    QVERIFY(offered);
    QCOMPARE(printer.copyCount(), 1);
}

void TestQtPrinter::setupDialogOnlyChoosesThePrinter()
{
    QPrinter printer;
    QString title;
    QString okText;
    bool choices = false;
    WhenModalShows([&](QPrintDialog& dialog) {
        title = dialog.windowTitle();
        okText = OkButton(dialog)->text();
        for (const auto option : {QAbstractPrintDialog::PrintCollateCopies, QAbstractPrintDialog::PrintPageRange,
                                  QAbstractPrintDialog::PrintCurrentPage, QAbstractPrintDialog::PrintSelection,
                                  QAbstractPrintDialog::PrintToFile})
            choices = choices || dialog.testOption(option);
        dialog.findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(4);
        OkButton(dialog)->click();
    });
    RunPrintSetupDialog(printer, nullptr);
    QCOMPARE(title, QStringLiteral("Print Setup"));
    QCOMPARE(okText, QStringLiteral("OK"));
    QVERIFY(!choices);
    QCOMPARE(printer.copyCount(), 1);
}

QTEST_MAIN(TestQtPrinter)
#include "test_qt_printer.moc"
