#include "subsystems/documents/document_commands.h"

#include "platform/command_table.h"
#include "platform/main_window_control.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/print_command.h"
#include "subsystems/documents/quick_files.h"
#include "subsystems/documents/save_changes.h"

#include <array>

void RegisterDocumentCommands(CommandTable& commands, const DocumentContext& context)
{
    // Each handler keeps its own copy of the context, which holds only references.
    DocumentContext c = context;
    const auto add = [&commands, &c](CommandId command, void (*run)(DocumentContext&)) {
        commands.add(command, [c, run]() mutable { run(c); });
    };
    add(CommandId::FileNew, FileNew);
    add(CommandId::FileOpen, FileOpen);
    add(CommandId::FileSave, FileSave);
    add(CommandId::FileSaveAs, FileSaveAs);
    add(CommandId::FilePrint, PrintDocument);
    add(CommandId::FilePrinterSetup, FilePrinterSetup);
    // Exit is the window's close, so the save-changes question guards it like any other close.
    commands.add(CommandId::FileExit, [c] { c.window.requestClose(); });

    constexpr std::array quickFiles{CommandId::LoadQuickFile1, CommandId::LoadQuickFile2, CommandId::LoadQuickFile3,
                                    CommandId::LoadAddressFile, CommandId::LoadToDoFile};
    for (int i = 0; i < int(quickFiles.size()); ++i) {
        commands.add(quickFiles[std::size_t(i)],
                     [c, i]() mutable { LoadQuickFile(c, QuickFilePath(c, i)); });
    }
}
