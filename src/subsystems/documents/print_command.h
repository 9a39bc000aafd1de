#pragma once

struct DocumentContext;

// File > Print: the note in lines of at most 56 characters, and none wider
// than the paper, one print job per copy, titled with the note's name. A
// copy the printing system did not take ends the command with a message;
// Cancel ends it silently. The editor gets the focus back either way.
void PrintDocument(DocumentContext& context);

// File > Printer Setup: chooses the printer the next Print offers.
void FilePrinterSetup(DocumentContext& context);
