#include "subsystems/documents/file_errors.h"

#include "platform/platform.h"

#include <cerrno>

FileErrorRow FileErrorRowFor(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case EACCES:
    case EPERM:
    case EISDIR:
    case ELOOP:
    case EROFS:
    case ETXTBSY:
        return FileErrorRow::NotFound;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return FileErrorRow::InvalidName;
    case ENXIO:
    case ENODEV:
        return FileErrorRow::DeviceUnavailable;
    case EIO:
    case ENOMEDIUM:
        return FileErrorRow::DiskNotReady;
    default:
        return FileErrorRow::Other;
    }
}

std::optional<QString> ReportFileError(Platform& platform, int error)
{
    QString prompt;
    switch (FileErrorRowFor(error)) {
    case FileErrorRow::NotFound:
        prompt = QStringLiteral("File was not found. Try again.");
        break;
    case FileErrorRow::InvalidName:
        prompt = QStringLiteral("File name was invalid. Try again.");
        break;
    case FileErrorRow::DeviceUnavailable:
        prompt = QStringLiteral("Device is not available. Try again.");
        break;
    case FileErrorRow::DiskNotReady:
        platform.showMessage({QStringLiteral("Close the drive door."), QString(), MessageIcon::None,
                              MessageButtons::Ok, MessageAnswer::Ok});
        return std::nullopt;
    case FileErrorRow::Other:
        return std::nullopt;
    }
    std::optional<QString> entered = platform.askText(prompt, ApplicationTitle, QString());
    if (entered && entered->isEmpty())
        return std::nullopt;
    return entered;
}
