#include "subsystems/editing/find.h"

#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "platform/platform.h"
#include "subsystems/editing/find_dialog.h"

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

std::optional<QString> AskSearchString(FormFactory& forms, const QString& previousText)
{
    const std::unique_ptr<Form13> form = forms.makeModal<Form13>();
    form->setSearchText(previousText);
    if (form->exec() != QDialog::Accepted)
        return std::nullopt;
    return form->searchText();
}

void EditFind(FindState& find, EditorControl& editor, Platform& platform, FormFactory& forms)
{
    const std::optional<QString> typed = AskSearchString(forms, find.PreviousFindText);
    if (!typed)
        return;
    find.FindText = *typed;
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
