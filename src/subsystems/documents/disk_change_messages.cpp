#include "subsystems/documents/disk_change_messages.h"

namespace {

const QString Title = QStringLiteral("File Changed On Disk");

} // namespace

MessageAnswer AskReplaceChangedNote(Platform& platform, const QString& path)
{
    return platform.showMessage(
        {QStringLiteral("File ") + path
             + QStringLiteral(" Was Changed By Another Program Since Scriblet Last Read Or Saved It.  Replace It With "
                              "The Text In Scriblet?  No Saves Scriblet's Text Under Another Name."),
         Title, MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::Cancel});
}

void TellAutoSaveDidNotReplace(Platform& platform, const QString& path)
{
    platform.showMessage({QStringLiteral("File ") + path
                              + QStringLiteral(" Was Changed By Another Program, So Auto Save Did Not Replace It.  "
                                               "File > Save Will Ask What To Do."),
                          Title, MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
}
