#pragma once

#include "platform/platform.h"

#include <QHash>
#include <QList>
#include <QStringList>

class ScriptedPlatform;

// A timer that runs only when the test fires it.
class ScriptedTimer : public SingleShotTimer
{
public:
    ScriptedTimer(ScriptedPlatform& platform, std::function<void()> action);
    ~ScriptedTimer() override;

    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override { return m_active; }

    int interval() const { return m_interval; }
    int starts() const { return m_starts; }
    // The platform's monotonic clock when the countdown ends.
    std::int64_t deadline() const { return m_deadline; }
    int fires() const { return m_fires; }
    // Ends the countdown now: the action runs if the timer was running.
    void fire();

private:
    ScriptedPlatform& m_platform;
    std::function<void()> m_action;
    int m_interval = 0;
    std::int64_t m_deadline = 0;
    int m_starts = 0;
    int m_fires = 0;
    bool m_active = false;
};

// A platform whose answers a test queues in advance and whose calls it reads
// back afterwards. A question without a queued answer gets its default
// button (or a cancelled dialog) and is still recorded.
class ScriptedPlatform : public Platform
{
public:
    // Queued answers, taken from the front.
    QList<MessageAnswer> messageAnswers;
    QList<std::optional<QString>> textAnswers;
    QList<std::optional<QString>> openFileAnswers;
    QList<std::optional<QString>> saveFileAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QList<std::optional<QFont>> fontAnswers;
    QList<std::optional<int>> printCopiesAnswers;
    bool clipboardWorks = true;
    bool modalOpen = false; // the program waits on a dialog of its own
    // Runs while a save dialog or a message box is open, as the event loop
    // of a real modal dialog would run timers; modalOpen is true meanwhile.
    std::function<void()> whileDialogOpen;
    // Runs each time the program lets pending events run.
    std::function<void()> duringEvents;
    // Runs while the desktop is asked for a link's handler, as events do meanwhile.
    std::function<void()> duringLinkLookup;
    std::optional<QString> printerRefusal; // why the printing system refuses jobs after the first printerTakes
    int printerTakes = 0;
    int printerPageHeight = 600; // device pixels of the printable area
    int printerLineHeight = 10;
    int printerLineCharacters = 1000; // characters that fit across the paper

    QDateTime now = QDateTime(QDate(1997, 3, 27), QTime(10, 15, 2));
    std::int64_t monotonicNow = 5000;
    int millisecondsPerEventRun = 100; // how far the clocks move while pending events run

    // The desktop: its windows, top first; the programs on PATH; which start.
    QList<DesktopWindow> windows;
    quint64 activeId = 0; // the window with the keyboard, which activating gives; keys sent elsewhere are lost
    QStringList programsOnPath;
    QHash<qint64, QString> processPrograms; // the program file each process runs
    bool programsStart = true;
    QStringList linkSchemesHandled; // e.g. "tel"
    static constexpr qint64 StartedProcess = 4242;
    QLocale currentLocale = QLocale(QLocale::English, QLocale::UnitedStates);

    // What the program did.
    QList<MessageBoxRequest> messages;
    QStringList calls;
    QString clipboard;
    QStringList typed; // texts sent as keystrokes
    QList<QList<QStringList>> printJobs; // each job's pages, each page's lines
    QList<ScriptedTimer*> timers;        // the timers alive now, in the order they were made

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> chooseFileToOpen(const QString& filter) override;
    std::optional<QString> chooseFileToSave(const QString& filter) override;
    std::optional<QString> browseForFile(const QString& filter, QString& lastChosen) override;
    std::optional<QColor> chooseColor() override;
    std::optional<QFont> chooseFont() override;
    std::optional<int> choosePrintCopies() override;
    void setUpPrinter() override;
    bool printerInstalled() override { return true; }
    std::unique_ptr<PrinterDevice> startPrintJob(const QString& title) override;
    QString clipboardText() override;
    bool setClipboardText(const QString& text) override;
    bool modalDialogOpen() const override { return modalOpen; }
    QDateTime currentDateTime() override;
    std::int64_t monotonicMilliseconds() override { return monotonicNow; }
    // Both clocks move on by the given time; each timer runs when its
    // countdown ends on the way, as the event loop would run it.
    void passTime(std::int64_t milliseconds);
    QLocale locale() override;
    void beep() override;
    std::unique_ptr<SingleShotTimer> makeSingleShotTimer(std::function<void()> action) override;
    void showHelp(HelpBook book) override;
    void closeHelp() override;
    QList<DesktopWindow> desktopWindows() override { return windows; }
    std::optional<DesktopWindow> activeWindow() override;
    void activateWindow(quint64 id) override;
    QString findProgram(const QString& name) override;
    bool windowRunsProgram(const DesktopWindow& window, const QString& path) override;
    qint64 startProgram(const QString& path) override;
    bool openLinkWithHandler(const QString& link) override;
    void typeText(quint64 window, const QString& text) override;
    void processEvents() override;
    void exitProcess() override;
    bool exitRequested() const override { return calls.contains(QStringLiteral("exitProcess")); }

    int count(const QString& call) const { return int(calls.count(call)); }

private:
    void runWhileDialogOpen();
};
