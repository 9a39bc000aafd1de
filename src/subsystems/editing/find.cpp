#include "subsystems/editing/find.h"

#include "platform/editor_control.h"
#include "platform/platform.h"

void SearchStep(FindState& find, EditorControl& editor, Platform& platform, qsizetype start)
{
    const QString text = editor.text();
    const qsizetype hit = text.indexOf(find.FindText, start - 1, Qt::CaseInsensitive);
    if (hit < 0) {
        platform.showMessage({QStringLiteral("The Text \"") + find.FindText + QStringLiteral("\" Was Not Found"),
                              QStringLiteral("Find..."), MessageIcon::Information, MessageButtons::Ok,
                              MessageAnswer::Ok});
        return;
    }
    editor.setSelectionStart(int(hit));
    editor.setSelectionLength(int(find.FindText.size()));
    find.FindResume = editor.selectionStart() + editor.selectionLength();
}

void EditFind(FindState& find, EditorControl& editor, Platform& platform)
{
    find.FindText = platform.runFindDialog(find.PreviousFindText);
    if (find.FindText.isEmpty())
        return;
    if (find.FindText != find.PreviousFindText)
        SearchStep(find, editor, platform, 1);
    else
        SearchStep(find, editor, platform, qsizetype(find.FindResume) + 1);
    find.PreviousFindText = find.FindText;
}

void EditFindNext(FindState& find, EditorControl& editor, Platform& platform)
{
    if (find.FindText.isEmpty())
        return;
    SearchStep(find, editor, platform, qsizetype(find.FindResume) + 1);
}
