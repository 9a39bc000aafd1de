#include "platform/qt_printer.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QTabWidget>
#include <QFontDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>

QFont PrinterTextFont()
{
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QtPrinterDevice::QtPrinterDevice(QPrinter& printer)
    : m_printer(printer)
    , m_font(PrinterTextFont(), &printer)
    , m_metrics(m_font, &printer)
    , m_nextBaseline(m_metrics.ascent())
{
    if (m_painter.begin(&m_printer))
        m_painter.setFont(m_font);
}

QtPrinterDevice::~QtPrinterDevice() { endJob(); }

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
        m_painter.drawText(QPoint(0, m_nextBaseline), line);
        m_nextBaseline += m_metrics.lineSpacing();
    }
}

void QtPrinterDevice::newPage()
{
    if (isActive())
        m_printer.newPage();
    m_nextBaseline = m_metrics.ascent();
}

void QtPrinterDevice::endJob()
{
    if (isActive())
        m_painter.end();
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

} // namespace

std::optional<int> RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    printer.setCollateCopies(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    HideParts(dialog, {QStringLiteral("gbPrintRange")});
    const bool accepted = dialog.exec() == QDialog::Accepted;
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
    dialog.exec();
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
}
