#pragma once

#include "platform/platform.h"

#include <optional>

struct KeepResult;

// What the user is told about where the unsaved text is kept: once a run when
// it is kept only until logout, and once when no folder can keep it, told
// again only after a write has succeeded since.
class RecoveryNotices
{
public:
    // The message the outcome of a write calls for, if any; it counts as told.
    std::optional<MessageBoxRequest> after(const KeepResult& result);

private:
    bool m_toldUntilLogout = false;
    bool m_toldNotKept = false;
};
