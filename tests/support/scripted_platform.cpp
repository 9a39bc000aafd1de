#include "support/scripted_platform.h"

#include <algorithm>

namespace {

// Qt 6.8.2's QList::assign (a test's "answers = {...}") asserts on an empty list
// with room at its front, as takeFirst leaves it: a queue run dry starts afresh.
template <class T>
T TakeFirst(QList<T>& queue)
{
    T first = queue.takeFirst();
    if (queue.isEmpty())
        queue = QList<T>();
    return first;
}

template <class T>
std::optional<T> TakeOrCancel(QList<std::optional<T>>& queue)
{
    return queue.isEmpty() ? std::nullopt : TakeFirst(queue);
}

// Records each page's lines into the platform's list of jobs.
class ScriptedPrinter : public PrinterDevice
{
public:
    explicit ScriptedPrinter(ScriptedPlatform& platform) : m_platform(platform)
    {
        m_platform.printJobs.append({QStringList()});
    }

    int printableHeight() const override { return m_platform.printerPageHeight; }
    int textHeight(const QString&) const override { return m_platform.printerLineHeight; }
    bool fitsWidth(QStringView line) const override { return line.size() <= m_platform.printerLineCharacters; }
    void drawLines(const QStringList& lines) override { m_platform.printJobs.last().last() += lines; }
    void newPage() override { m_platform.printJobs.last().append(QStringList()); }
    std::optional<QString> endJob() override
    {
        m_platform.calls.append(QStringLiteral("endJob"));
        if (m_platform.printJobs.size() <= m_platform.printerTakes)
            return std::nullopt;
        if (m_platform.printerRefusal)
            m_platform.printJobs.removeLast();
        return m_platform.printerRefusal;
    }

private:
    ScriptedPlatform& m_platform;
};

} // namespace

ScriptedTimer::ScriptedTimer(ScriptedPlatform& platform, std::function<void()> action)
    : m_platform(platform)
    , m_action(std::move(action))
{
    m_platform.timers.append(this);
}

ScriptedTimer::~ScriptedTimer() { m_platform.timers.removeOne(this); }

void ScriptedTimer::start(int milliseconds)
{
    m_interval = milliseconds;
    m_deadline = m_platform.monotonicNow + milliseconds;
    m_active = true;
    ++m_starts;
}

void ScriptedTimer::stop() { m_active = false; }

void ScriptedTimer::fire()
{
    if (!m_active)
        return;
    m_active = false;
    ++m_fires;
    // A copy, because the action may destroy this timer while it runs.
    const std::function<void()> action = m_action;
    action();
}

MessageAnswer ScriptedPlatform::showMessage(const MessageBoxRequest& request)
{
    messages.append(request);
    calls.append(QStringLiteral("showMessage"));
    runWhileDialogOpen();
    return messageAnswers.isEmpty() ? request.defaultAnswer : TakeFirst(messageAnswers);
}

std::optional<QString> ScriptedPlatform::askText(const QString& prompt, const QString& title, const QString&)
{
    calls.append(QStringLiteral("askText:") + title + u':' + prompt);
    return TakeOrCancel(textAnswers);
}

std::optional<QString> ScriptedPlatform::chooseFileToOpen(const QString& filter)
{
    calls.append(QStringLiteral("chooseFileToOpen:") + filter);
    return TakeOrCancel(openFileAnswers);
}

std::optional<QString> ScriptedPlatform::chooseFileToSave(const QString& filter)
{
    calls.append(QStringLiteral("chooseFileToSave:") + filter);
    runWhileDialogOpen();
    return TakeOrCancel(saveFileAnswers);
}

std::optional<QString> ScriptedPlatform::browseForFile(const QString& filter, QString& lastChosen)
{
    calls.append(QStringLiteral("browseForFile:") + filter + u':' + lastChosen);
    const std::optional<QString> chosen = TakeOrCancel(openFileAnswers);
    if (chosen)
        lastChosen = *chosen;
    return chosen;
}

std::optional<QColor> ScriptedPlatform::chooseColor()
{
    calls.append(QStringLiteral("chooseColor"));
    return TakeOrCancel(colorAnswers);
}

std::optional<QFont> ScriptedPlatform::chooseFont()
{
    calls.append(QStringLiteral("chooseFont"));
    return TakeOrCancel(fontAnswers);
}

std::optional<int> ScriptedPlatform::choosePrintCopies()
{
    calls.append(QStringLiteral("choosePrintCopies"));
    return TakeOrCancel(printCopiesAnswers);
}

void ScriptedPlatform::setUpPrinter() { calls.append(QStringLiteral("setUpPrinter")); }

std::unique_ptr<PrinterDevice> ScriptedPlatform::startPrintJob(const QString& title)
{
    calls.append(QStringLiteral("startPrintJob ") + title);
    return std::make_unique<ScriptedPrinter>(*this);
}

QString ScriptedPlatform::clipboardText() { return clipboard; }

bool ScriptedPlatform::setClipboardText(const QString& text)
{
    calls.append(QStringLiteral("setClipboardText"));
    if (!clipboardWorks)
        return false;
    clipboard = text;
    return true;
}

QDateTime ScriptedPlatform::currentDateTime() { return now; }

QLocale ScriptedPlatform::locale() { return currentLocale; }

void ScriptedPlatform::beep() { calls.append(QStringLiteral("beep")); }

std::unique_ptr<SingleShotTimer> ScriptedPlatform::makeSingleShotTimer(std::function<void()> action)
{
    return std::make_unique<ScriptedTimer>(*this, std::move(action));
}

void ScriptedPlatform::showHelp(HelpBook book)
{
    calls.append(book == HelpBook::Contents ? QStringLiteral("showHelp:Contents") : QStringLiteral("showHelp:HelpOnHelp"));
}

void ScriptedPlatform::closeHelp() { calls.append(QStringLiteral("closeHelp")); }

std::optional<DesktopWindow> ScriptedPlatform::activeWindow()
{
    const auto active = std::ranges::find(windows, activeId, &DesktopWindow::id);
    return active == windows.end() ? std::nullopt : std::optional(*active);
}

void ScriptedPlatform::activateWindow(quint64 id)
{
    calls.append(QStringLiteral("activateWindow:%1").arg(id));
    activeId = id;
}

QString ScriptedPlatform::findProgram(const QString& name)
{
    return programsOnPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
}

bool ScriptedPlatform::windowRunsProgram(const DesktopWindow& window, const QString& path)
{
    return window.pid != 0 && processPrograms.value(window.pid) == path;
}

qint64 ScriptedPlatform::startProgram(const QString& path)
{
    calls.append(QStringLiteral("startProgram:") + path);
    return programsStart ? StartedProcess : 0;
}

bool ScriptedPlatform::openLinkWithHandler(const QString& link)
{
    if (duringLinkLookup)
        duringLinkLookup();
    if (!linkSchemesHandled.contains(link.section(u':', 0, 0)))
        return false;
    calls.append(QStringLiteral("openLink:") + link);
    return true;
}

void ScriptedPlatform::typeText(quint64 window, const QString& text)
{
    calls.append(QStringLiteral("typeText:%1").arg(window));
    if (window == activeId && activeWindow())
        typed.append(text);
}

void ScriptedPlatform::processEvents()
{
    calls.append(QStringLiteral("processEvents"));
    now = now.addMSecs(millisecondsPerEventRun);
    monotonicNow += millisecondsPerEventRun;
    if (duringEvents)
        duringEvents();
}

void ScriptedPlatform::passTime(std::int64_t milliseconds)
{
    const std::int64_t end = monotonicNow + milliseconds;
    for (;;) {
        ScriptedTimer* next = nullptr;
        for (ScriptedTimer* timer : timers) {
            if (timer->isActive() && timer->deadline() <= end && (!next || timer->deadline() < next->deadline()))
                next = timer;
        }
        if (!next)
            break;
        now = now.addMSecs(std::max<std::int64_t>(0, next->deadline() - monotonicNow));
        monotonicNow = std::max(monotonicNow, next->deadline());
        next->fire();
    }
    now = now.addMSecs(end - monotonicNow);
    monotonicNow = end;
}

void ScriptedPlatform::exitProcess() { calls.append(QStringLiteral("exitProcess")); }

void ScriptedPlatform::runWhileDialogOpen()
{
    if (!whileDialogOpen)
        return;
    const bool wasOpen = modalOpen;
    modalOpen = true;
    whileDialogOpen();
    modalOpen = wasOpen;
}
