#include "subsystems/documents/recovery_notices.h"

#include "platform/system_error_text.h"
#include "subsystems/documents/recovery_store.h"

#include <utility>

namespace {

QString Refusal(const KeepResult& result)
{
    if (result.refusedBy.isEmpty())
        return QStringLiteral("Unsaved Text Could Not Be Kept: No Folder Was Found For It.");
    return QStringLiteral("Unsaved Text Could Not Be Kept In ") + result.refusedBy + QStringLiteral(": ")
        + SystemErrorText(result.refusal) + u'.';
}

MessageBoxRequest NotKeptMessage(const KeepResult& result)
{
    return {Refusal(result) + QStringLiteral("  It Will Be Lost If Scriblet Ends Without Saving."),
            QStringLiteral("Unsaved Text Not Kept"), MessageIcon::Stop, MessageButtons::Ok, MessageAnswer::Ok};
}

MessageBoxRequest UntilLogoutMessage(const KeepResult& result)
{
    return {Refusal(result) + QStringLiteral("  It Is Kept In ") + result.keptIn
                + QStringLiteral(" Instead, But Only Until You Log Out."),
            QStringLiteral("Unsaved Text Kept Until Logout"), MessageIcon::Information, MessageButtons::Ok,
            MessageAnswer::Ok};
}

} // namespace

std::optional<MessageBoxRequest> RecoveryNotices::after(const KeepResult& result)
{
    if (!result.kept()) {
        if (std::exchange(m_toldNotKept, true))
            return std::nullopt;
        return NotKeptMessage(result);
    }
    m_toldNotKept = false;
    if (!result.untilLogout || std::exchange(m_toldUntilLogout, true))
        return std::nullopt;
    return UntilLogoutMessage(result);
}
