#include "subsystems/editing/editing_commands.h"

#include "platform/command_table.h"
#include "subsystems/editing/edit_commands.h"
#include "subsystems/editing/find.h"
#include "subsystems/editing/stamps.h"

#include <array>

void RegisterEditingCommands(CommandTable& commands, const EditingContext& context)
{
    // The context holds only references, so each handler keeps a copy of it.
    const EditingContext c = context;
    commands.add(CommandId::EditUndo, [c] { EditorUndo(c.editor); });
    commands.add(CommandId::EditCut, [c] { EditorCut(c.editor, c.platform); });
    commands.add(CommandId::EditCopy, [c] { EditorCopy(c.editor, c.platform); });
    commands.add(CommandId::EditPaste, [c] { EditorPaste(c.editor, c.platform); });
    commands.add(CommandId::EditDelete, [c] { EditorClear(c.editor); });
    commands.add(CommandId::EditDeleteAll, [c] { EditDeleteAll(c.editor); });
    commands.add(CommandId::EditSelectAll, [c] { EditSelectAll(c.editor); });
    commands.add(CommandId::EditFind, [c] { EditFind(c.find, c.editor, c.platform, c.forms); });
    commands.add(CommandId::EditFindNext, [c] { EditFindNext(c.find, c.editor, c.platform); });

    constexpr std::array snippets{
        std::pair{CommandId::InsertDate, Snippet::Date},           std::pair{CommandId::InsertTime, Snippet::Time},
        std::pair{CommandId::InsertDateTime, Snippet::DateTime},   std::pair{CommandId::InsertGlossary1, Snippet::Glossary1},
        std::pair{CommandId::InsertGlossary2, Snippet::Glossary2}, std::pair{CommandId::InsertGlossary3, Snippet::Glossary3},
        std::pair{CommandId::InsertSignature, Snippet::Signature},
    };
    for (const auto& [command, snippet] : snippets)
        commands.add(command, [c, snippet] { InsertText(c.platform, c.editor, SnippetText(snippet, c.settings, c.platform)); });
}
