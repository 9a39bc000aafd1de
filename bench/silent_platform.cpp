#include "silent_platform.h"

#include "platform/monotonic_clock.h"
#include "platform/qt_single_shot_timer.h"

namespace {

// There is no printer: a job draws nothing and says so when it ends.
class NoPrinter : public PrinterDevice
{
public:
    int printableHeight() const override { return 0; }
    int textHeight(const QString&) const override { return 0; }
    bool fitsWidth(QStringView) const override { return true; }
    void drawLines(const QStringList&) override {}
    void newPage() override {}
    std::optional<QString> endJob() override { return QStringLiteral("No Printer Is Available"); }
};

} // namespace

MessageAnswer SilentPlatform::showMessage(const MessageBoxRequest& request)
{
    messages.append(request);
    return request.defaultAnswer;
}

QDateTime SilentPlatform::currentDateTime() { return QDateTime::currentDateTime(); }

std::int64_t SilentPlatform::monotonicMilliseconds() { return MonotonicMilliseconds(); }

std::unique_ptr<SingleShotTimer> SilentPlatform::makeSingleShotTimer(std::function<void()> action)
{
    return std::make_unique<QtSingleShotTimer>(std::move(action));
}

std::unique_ptr<PrinterDevice> SilentPlatform::startPrintJob(const QString&) { return std::make_unique<NoPrinter>(); }
