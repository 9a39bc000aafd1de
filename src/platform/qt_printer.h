#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;
class SpoolFile;

// Qt knows no printer default font: notes print in the desktop's sans-serif
// family at 10 points, as the printer resolves it.
QFont PrinterTextFont();

// A print job drawn on a QPrinter through a painter that lives as long as the
// job. A printer with an output file of its own gets the job there; any
// other is sent it as a file through its CUPS queue, so that a refusal is
// known (Qt's own submission ignores it).
class QtPrinterDevice : public PrinterDevice
{
public:
    QtPrinterDevice(QPrinter& printer, const QString& title);
    // A job not ended is dropped.
    ~QtPrinterDevice() override;
    QtPrinterDevice(const QtPrinterDevice&) = delete;
    QtPrinterDevice& operator=(const QtPrinterDevice&) = delete;

    // False when the job could not start, and once it has ended.
    bool isActive() const;

    int printableHeight() const override;
    int textHeight(const QString& text) const override;
    bool fitsWidth(QStringView line) const override;
    void drawLines(const QStringList& lines) override;
    void newPage() override;
    std::optional<QString> endJob() override;

private:
    // Lays the pieces between tabs out along the line; returns its width.
    int layOutLine(QStringView line, const std::function<void(int x, const QString& piece)>& place) const;
    bool stopDrawing();

    QPrinter& m_printer;
    QString m_title;
    std::unique_ptr<SpoolFile> m_spoolFile; // what goes to the queue
    std::optional<QString> m_failure;
    bool m_ended = false;
    QPainter m_painter;
    QFont m_font;
    QFontMetrics m_metrics;
    int m_tabStop;
    int m_nextBaseline; // where the next line on this page goes
};

// The print dialog; the number of copies chosen, or nothing when cancelled.
// The printer is left at one copy, as every copy is printed as a job of its own.
std::optional<int> RunPrintDialog(QPrinter& printer, QWidget* parent);

// The print dialog without copies and range, confirmed with "OK": it only
// chooses the printer and its settings for the next print dialog.
void RunPrintSetupDialog(QPrinter& printer, QWidget* parent);
