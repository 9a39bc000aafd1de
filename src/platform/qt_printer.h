#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <optional>

class QPrinter;
class QWidget;

// Qt knows no printer default font: notes print in the desktop's sans-serif
// family at 10 points, as the printer resolves it.
QFont PrinterTextFont();

// A print job drawn on a QPrinter through a painter that lives as long as the job.
class QtPrinterDevice : public PrinterDevice
{
public:
    explicit QtPrinterDevice(QPrinter& printer);
    ~QtPrinterDevice() override;
    QtPrinterDevice(const QtPrinterDevice&) = delete;
    QtPrinterDevice& operator=(const QtPrinterDevice&) = delete;

    // False when the printer refused the job, and once the job has ended.
    bool isActive() const;

    int printableHeight() const override;
    int textHeight(const QString& text) const override;
    void drawLines(const QStringList& lines) override;
    void newPage() override;
    void endJob() override;

private:
    QPrinter& m_printer;
    QPainter m_painter;
    QFont m_font;
    QFontMetrics m_metrics;
    int m_nextBaseline; // where the next line on this page goes
};

// The print dialog; the number of copies chosen, or nothing when cancelled.
// The printer is left at one copy, as every copy is printed as a job of its own.
std::optional<int> RunPrintDialog(QPrinter& printer, QWidget* parent);

// The print dialog without copies and range, confirmed with "OK": it only
// chooses the printer and its settings for the next print dialog.
void RunPrintSetupDialog(QPrinter& printer, QWidget* parent);
