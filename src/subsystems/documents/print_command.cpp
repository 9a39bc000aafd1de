#include "subsystems/documents/print_command.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/print_layout.h"

namespace {

// One copy as a job of its own; nothing when the printing system took it,
// else why not.
std::optional<QString> PrintCopy(DocumentContext& context, const QString& text)
{
    const std::unique_ptr<PrinterDevice> printer
        = context.platform.startPrintJob(DocumentCaption(context.settings.FileName));
    const int linesPerPage = LinesPerPage(printer->printableHeight(), printer->textHeight(QStringLiteral("Just Checking")));
    const QList<QString> pages
        = PrintPageBlocks(text, linesPerPage, [&printer](QStringView line) { return printer->fitsWidth(line); });
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0)
            printer->newPage();
        printer->drawLines(PageBlockLines(pages[page]));
    }
    return printer->endJob();
}

// A print that did not happen is told: the user would otherwise wait at the
// printer for pages that never come. Copies before it did print.
void ReportNotPrinted(Platform& platform, const QString& reason, int copy = 0, int copies = 1)
{
    const QString what = copy == 0 ? QStringLiteral("The Note") : QStringLiteral("Copy %1 Of %2").arg(copy + 1).arg(copies);
    platform.showMessage({QStringLiteral("%1 Was Not Printed: %2.").arg(what, reason), QString(), MessageIcon::Stop,
                          MessageButtons::Ok, MessageAnswer::Ok});
}

} // namespace

void PrintDocument(DocumentContext& context)
{
    const QString text = context.editor.text();
    if (!context.platform.printerInstalled()) {
        ReportNotPrinted(context.platform, QStringLiteral("No Printer Is Available"));
    } else if (const std::optional<int> copies = context.platform.choosePrintCopies()) {
        for (int copy = 0; copy < *copies; ++copy) {
            if (const std::optional<QString> failure = PrintCopy(context, text)) {
                ReportNotPrinted(context.platform, *failure, copy, *copies);
                break;
            }
        }
    }
    context.editor.setFocus();
}

void FilePrinterSetup(DocumentContext& context)
{
    context.platform.setUpPrinter();
    context.editor.setFocus();
}
