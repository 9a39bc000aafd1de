#pragma once

struct DocumentContext;

// File > Print: the note in lines of at most 56 characters, one print job
// per copy. Cancel and printer failures end it without a message; the
// editor gets the focus back either way.
void PrintDocument(DocumentContext& context);

// File > Printer Setup: chooses the printer the next Print offers.
void FilePrinterSetup(DocumentContext& context);
