#pragma once

#include <QString>

#include <optional>

class Platform;

// The rows of the table that turns a failed load into a prompt.
enum class FileErrorRow { NotFound, InvalidName, DeviceUnavailable, DiskNotReady, Other };

// The row for a system error number (errno).
FileErrorRow FileErrorRowFor(int error);

// Shows the row's prompt. Returns the name the user entered in its input
// box; nothing when the box was cancelled or left empty, or the row has no
// input box.
std::optional<QString> ReportFileError(Platform& platform, int error);
