#include "subsystems/documents/print_command.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/print_layout.h"

namespace {

// A job the printer refused, or one that failed on the way, ends the
// command: nothing is reported.
bool PrintCopy(Platform& platform, const QString& text)
{
    const std::unique_ptr<PrinterDevice> printer = platform.startPrintJob();
    if (!printer)
        return false;
    const int linesPerPage = LinesPerPage(printer->printableHeight(), printer->textHeight(QStringLiteral("Just Checking")));
    const QList<QString> pages = PrintPageBlocks(text, linesPerPage);
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0)
            printer->newPage();
        printer->drawLines(PageBlockLines(pages[page]));
    }
    printer->endJob();
    return true;
}

} // namespace

void PrintDocument(DocumentContext& context)
{
    const QString text = context.editor.text();
    if (const std::optional<int> copies = context.platform.choosePrintCopies()) {
        for (int copy = 0; copy < *copies; ++copy) {
            if (!PrintCopy(context.platform, text))
                break;
        }
    }
    context.editor.setFocus();
}

void FilePrinterSetup(DocumentContext& context)
{
    context.platform.setUpPrinter();
    context.editor.setFocus();
}
