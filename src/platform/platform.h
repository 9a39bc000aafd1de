#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

enum class MessageIcon { None, Stop, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest
{
    QString text;
    QString title; // empty: the application title "SCRBL32"
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// A top-level window of the desktop, as the window manager lists it.
struct DesktopWindow
{
    quint64 id = 0;
    QString title;
    bool owned = false; // a dialog or tool window that belongs to another window
    bool ours = false;  // a window of this program
    qint64 pid = 0;     // the process on this machine that says it shows the window; 0 when it does not say
    QStringList wmClass; // the program's instance and class names (X11's WM_CLASS), when it gives them
};

// The two books of the help window.
enum class HelpBook { Contents, HelpOnHelp };

// Title of message and input boxes that have none of their own.
inline const QString ApplicationTitle = QStringLiteral("SCRBL32");

// A countdown that runs its action once when it ends; tests end it at will.
class SingleShotTimer
{
public:
    virtual ~SingleShotTimer() = default;
    // Starts the countdown afresh, also when it is already running.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// One print job on the chosen printer. Lengths are the printer's device pixels.
class PrinterDevice
{
public:
    virtual ~PrinterDevice() = default;
    virtual int printableHeight() const = 0;
    // The height of a line of text in the printer's default font.
    virtual int textHeight(const QString& text) const = 0;
    // Whether a line of this text, its tabs at fixed stops, fits across the
    // printable area.
    virtual bool fitsWidth(QStringView line) const = 0;
    // Draws the lines one below the other, below those already on the current
    // page; a new page starts at the top of its printable area. Lines that do
    // not fit the page go on to a new one, at least one line on each.
    virtual void drawLines(const QStringList& lines) = 0;
    virtual void newPage() = 0;
    // Hands the job to the printing system: nothing when it took the job
    // (whether or not it has printed it yet), else why not, in Title Case.
    virtual std::optional<QString> endJob() = 0;
};

// Everything the program waits on or reaches outside through. Command code
// talks only to this interface, so a test can answer every question and see
// every call; the Qt implementation is QtPlatform.
class Platform
{
public:
    virtual ~Platform() = default;

    virtual MessageAnswer showMessage(const MessageBoxRequest& request) = 0;
    // The text entered, or nothing when the box was cancelled.
    virtual std::optional<QString> askText(const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;

    // The file dialogs remember the last chosen name between uses; nothing
    // when the dialog was cancelled. The filter is "Name (*.ext)|*.ext|...".
    virtual std::optional<QString> chooseFileToOpen(const QString& filter) = 0;
    virtual std::optional<QString> chooseFileToSave(const QString& filter) = 0;
    // An open dialog of a form's own, which remembers its last choice in
    // lastChosen instead of sharing the main window's.
    virtual std::optional<QString> browseForFile(const QString& filter, QString& lastChosen) = 0;

    // Nothing when the dialog was cancelled. Each dialog starts from the
    // value chosen in it last, not from the editor's.
    virtual std::optional<QColor> chooseColor() = 0;
    virtual std::optional<QFont> chooseFont() = 0;

    // The print dialog on the shared printer; the number of copies chosen, or
    // nothing when it was cancelled.
    virtual std::optional<int> choosePrintCopies() = 0;
    // The printer-setup dialog: the printer chosen there is the one the next
    // print dialog offers.
    virtual void setUpPrinter() = 0;
    // Whether the system has a printer to print on.
    virtual bool printerInstalled() = 0;
    // A job under this title on the shared printer. A job that cannot be
    // started draws nothing and tells why when it ends.
    virtual std::unique_ptr<PrinterDevice> startPrintJob(const QString& title) = 0;

    virtual QString clipboardText() = 0;
    // Returns whether the clipboard holds the text afterwards.
    virtual bool setClipboardText(const QString& text) = 0;
    // Whether the program is waiting on a modal dialog.
    virtual bool modalDialogOpen() const = 0;
    virtual QDateTime currentDateTime() = 0;
    // Milliseconds on a clock that only goes forward, also through a suspend:
    // neither setting the time of day nor summer time moves it.
    virtual std::int64_t monotonicMilliseconds() = 0;
    virtual QLocale locale() = 0;
    virtual void beep() = 0;
    virtual std::unique_ptr<SingleShotTimer> makeSingleShotTimer(std::function<void()> action) = 0;

    // Opens the help window at the contents of a book.
    virtual void showHelp(HelpBook book) = 0;
    // Closes the help window, if one is open.
    virtual void closeHelp() = 0;

    // The desktop's top-level windows, top of the stack first, as they are
    // now; none where the window system cannot be asked (no X11).
    virtual QList<DesktopWindow> desktopWindows() = 0;
    // The window that is active and has the keyboard, described as in
    // desktopWindows(); nothing when there is none or no X11.
    virtual std::optional<DesktopWindow> activeWindow() = 0;
    // Restores the window if it is minimized and gives it the keyboard.
    virtual void activateWindow(quint64 id) = 0;
    // The full path of a program found on PATH; empty when there is none.
    virtual QString findProgram(const QString& name) = 0;
    // Whether the window's process runs the program file at the path (links
    // resolved); false when that cannot be told.
    virtual bool windowRunsProgram(const DesktopWindow& window, const QString& path) = 0;
    // Starts a program on its own; its process id, or 0 when it could not be started.
    virtual qint64 startProgram(const QString& path) = 0;
    // Hands the link to the program the desktop has chosen for its scheme
    // ("tel:" links: GNOME Calls, KDE Connect); false when there is none or
    // it could not be started.
    virtual bool openLinkWithHandler(const QString& link) = 0;
    // Types the text into the window as keystrokes, every character as it
    // stands; a line break is one Return. Nothing more is typed once that
    // window does not have the keyboard, nothing at all when it has not.
    virtual void typeText(quint64 window, const QString& text) = 0;
    // Lets pending window events run, for a short while.
    virtual void processEvents() = 0;

    // Ends the process once the current event has been handled; every
    // window closes with it.
    virtual void exitProcess() = 0;
    // Whether the process is ending: a command still waiting on events
    // (the dialer's second) must not act any more.
    virtual bool exitRequested() const = 0;
};

// Convenience for the common one-button error box (stop icon, OK).
inline void ShowError(Platform& platform, const QString& text, const QString& title = QString())
{
    platform.showMessage({text, title, MessageIcon::Stop, MessageButtons::Ok, MessageAnswer::Ok});
}
