#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

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

// Title of message and input boxes that have none of their own.
inline const QString ApplicationTitle = QStringLiteral("SCRBL32");

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

    // Shows the modal Find dialog filled with previousText; returns the text
    // it was closed with (empty when it was closed without OK or Enter).
    virtual QString runFindDialog(const QString& previousText) = 0;

    // Returns whether the clipboard holds the text afterwards.
    virtual bool setClipboardText(const QString& text) = 0;
    virtual QDateTime currentDateTime() = 0;
    virtual QLocale locale() = 0;
    virtual void beep() = 0;

    // Closes the help window, if one is open.
    virtual void closeHelp() = 0;

    // Ends the process once the current event has been handled; every
    // window closes with it.
    virtual void exitProcess() = 0;
};

// Convenience for the common one-button error box (stop icon, OK).
inline void ShowError(Platform& platform, const QString& text, const QString& title = QString())
{
    platform.showMessage({text, title, MessageIcon::Stop, MessageButtons::Ok, MessageAnswer::Ok});
}
