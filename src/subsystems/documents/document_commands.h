#pragma once

class CommandTable;
struct DocumentContext;

// New, Open, Save, Save As, Exit and the five quick files.
void RegisterDocumentCommands(CommandTable& commands, const DocumentContext& context);
