#include "platform/qt_printer.h"

#include "platform/cups_queue.h"
#include "platform/spool_file.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QEvent>
#include <QTabWidget>
#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

QFont PrinterTextFont()
{
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QtPrinterDevice::QtPrinterDevice(QPrinter& printer, const QString& title)
    : m_printer(printer)
    , m_title(title)
    , m_font(PrinterTextFont(), &printer)
    , m_metrics(m_font, &printer)
    , m_tabStop(std::max(1, 8 * m_metrics.averageCharWidth()))
    , m_nextBaseline(m_metrics.ascent())
{
    // The print files of copies that crashed go at the next print.
    SweepSpoolFiles();
    m_printer.setDocName(title);
    if (m_printer.outputFileName().isEmpty()) {
        if (m_printer.outputFormat() != QPrinter::NativeFormat || m_printer.printerName().isEmpty()) {
            m_failure = QStringLiteral("No Printer Is Chosen");
            return;
        }
        // Without the .pdf suffix the printer keeps its CUPS engine and with
        // it the paper, sides and options chosen in the print dialog.
        m_spoolFile = std::make_unique<SpoolFile>();
        if (!m_spoolFile->isOpen()) {
            m_failure = QStringLiteral("The Print File Could Not Be Made In %1").arg(QDir::tempPath());
            return;
        }
        m_printer.setOutputFileName(m_spoolFile->fileName());
    }
    if (m_painter.begin(&m_printer))
        m_painter.setFont(m_font);
    else
        m_failure = QStringLiteral("The Printer Could Not Start The Job");
}

QtPrinterDevice::~QtPrinterDevice() { stopDrawing(); }

bool QtPrinterDevice::isActive() const { return m_painter.isActive(); }

int QtPrinterDevice::printableHeight() const
{
    return int(m_printer.pageRect(QPrinter::DevicePixel).height());
}

int QtPrinterDevice::textHeight(const QString&) const
{
    // Every line advances by the same spacing whatever it holds, so that the
    // page count worked out from this matches what drawLines puts on paper.
    return m_metrics.lineSpacing();
}

int QtPrinterDevice::layOutLine(QStringView line, const std::function<void(int x, const QString& piece)>& place) const
{
    int x = 0;
    bool afterTab = false;
    for (const QStringView piece : line.tokenize(u'\t')) {
        if (afterTab)
            x = (x / m_tabStop + 1) * m_tabStop;
        afterTab = true;
        const QString text = piece.toString();
        if (place)
            place(x, text);
        x += m_metrics.horizontalAdvance(text);
    }
    return x;
}

bool QtPrinterDevice::fitsWidth(QStringView line) const
{
    return layOutLine(line, {}) <= int(m_printer.pageRect(QPrinter::DevicePixel).width());
}

void QtPrinterDevice::drawLines(const QStringList& lines)
{
    if (!isActive())
        return;
    // The painter's origin is the top left of the printable area. A line
    // that would reach below it goes on a new page, unless it is the page's
    // first: nothing is lost off the bottom of a sheet, and printing ends.
    const int firstBaseline = m_metrics.ascent();
    for (const QString& line : lines) {
        if (m_nextBaseline > firstBaseline && m_nextBaseline + m_metrics.descent() > printableHeight())
            newPage();
        layOutLine(line, [this](int x, const QString& piece) { m_painter.drawText(QPoint(x, m_nextBaseline), piece); });
        m_nextBaseline += m_metrics.lineSpacing();
    }
}

void QtPrinterDevice::newPage()
{
    if (isActive())
        m_printer.newPage();
    m_nextBaseline = m_metrics.ascent();
}

// Ends the drawing and gives the printer back its own output; whether the
// whole job was written.
bool QtPrinterDevice::stopDrawing()
{
    const bool written = isActive() && m_painter.end();
    if (m_spoolFile)
        m_printer.setOutputFileName(QString());
    return written;
}

std::optional<QString> QtPrinterDevice::endJob()
{
    if (m_ended)
        return m_failure;
    m_ended = true;
    if (!stopDrawing() && !m_failure)
        m_failure = QStringLiteral("The Print File Could Not Be Written");
    if (m_spoolFile && !m_failure)
        m_failure = SendToQueue(m_printer, m_spoolFile->fileName(), m_title);
    m_spoolFile.reset();
    return m_failure;
}

namespace {

// Keeps a part of Qt's print dialog out of sight. Without the page-range
// option Qt still offers the printing system's own page range, and shows it
// again whenever another printer is chosen.
class KeepHidden : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            QMetaObject::invokeMethod(static_cast<QWidget*>(watched), &QWidget::hide, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

void HideParts(QPrintDialog& dialog, const QStringList& names)
{
    auto* keeper = new KeepHidden(&dialog);
    for (const QString& name : names) {
        if (auto* part = dialog.findChild<QWidget*>(name)) {
            part->hide();
            part->installEventFilter(keeper);
        }
    }
}

// Qt's page settings (checked with Qt 6.4: the private QPrintPropertiesDialog
// and its pageSizeCombo, unitCombo, pageWidth and pageHeight) cannot show a
// custom paper size: they show the first
// size of their list instead and hand that to the printer on OK, even when
// they were never opened. This shows the printer's own custom size when
// they are opened, and gives it back unless they were confirmed.
class CustomPaperKeeper : public QObject
{
public:
    CustomPaperKeeper(QPrintDialog& dialog, QPrinter& printer)
        : QObject(&dialog)
        , m_printer(printer)
        , m_paper(printer.pageLayout())
    {
        if (m_paper.pageSize().id() != QPageSize::Custom)
            return;
        // The page settings are a child dialog of the print dialog, made
        // when first needed and again after another printer is chosen.
        dialog.installEventFilter(this);
    }

    // After the dialog: the printer keeps its custom paper unless a paper
    // was confirmed in the page settings it took its paper from; another
    // printer chosen since gets page settings of its own.
    void restoreUnchosen()
    {
        if (m_paper.pageSize().id() == QPageSize::Custom && !m_confirmed)
            m_printer.setPageLayout(m_paper);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A widget is polished once, when it is first shown or measured.
        if (event->type() == QEvent::ChildPolished) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            auto* settings = qobject_cast<QDialog*>(child);
            if (settings && settings->inherits("QPrintPropertiesDialog")) {
                showCustomPaper(*settings);
                connect(settings, &QDialog::accepted, this, [this, settings] { m_confirmed = settings; });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void showCustomPaper(QWidget& settings)
    {
        auto* sizes = settings.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
        auto* units = settings.findChild<QComboBox*>(QStringLiteral("unitCombo"));
        auto* width = settings.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"));
        auto* height = settings.findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight"));
        if (!sizes || !units || !width || !height)
            return;
        for (int item = 0; item < sizes->count(); ++item) {
            if (!sizes->itemData(item).isValid()) // the "Custom" item carries no size
                sizes->setCurrentIndex(item);
        }
        const QSizeF size = m_paper.fullRect(units->currentData().value<QPageLayout::Unit>()).size();
        width->setValue(size.width());
        height->setValue(size.height());
    }

    QPrinter& m_printer;
    QPageLayout m_paper;
    QPointer<QDialog> m_confirmed;
};

} // namespace

std::optional<int> RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    printer.setCollateCopies(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    HideParts(dialog, {QStringLiteral("gbPrintRange")});
    auto* paper = new CustomPaperKeeper(dialog, printer);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    paper->restoreUnchosen();
    printer.setPrintRange(QPrinter::AllPages);
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    if (!accepted)
        return std::nullopt;
    return copies;
}

void RunPrintSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(dialog.options()
                      & ~(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintPageRange
                          | QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintSelection
                          | QAbstractPrintDialog::PrintToFile));
    // Nothing is printed from here: no copies, no pages, and the button only
    // confirms the choice.
    HideParts(dialog, {QStringLiteral("gbPrintRange"), QStringLiteral("groupBox")});
    if (auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabs"))) {
        if (QWidget* copiesTab = dialog.findChild<QWidget*>(QStringLiteral("copiesTab")))
            tabs->setTabVisible(tabs->indexOf(copiesTab), false);
    }
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    auto* paper = new CustomPaperKeeper(dialog, printer);
    dialog.exec();
    paper->restoreUnchosen();
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
}
