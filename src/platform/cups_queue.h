#pragma once

#include <QString>

#include <optional>

class QPrinter;

// Hands a finished PDF file to the CUPS queue the printer names, with the
// paper, sides, orientation and options chosen for it in the print dialog.
// Nothing when the queue took the job, else why not, in Title Case.
std::optional<QString> SendToQueue(QPrinter& printer, const QString& pdfFile, const QString& title);
