#pragma once

#include "platform/platform.h"

#include <QList>
#include <QStringList>

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
    QStringList findAnswers; // what the Find dialog is closed with
    bool clipboardWorks = true;

    QDateTime now = QDateTime(QDate(1997, 3, 27), QTime(10, 15, 2));
    QLocale currentLocale = QLocale(QLocale::English, QLocale::UnitedStates);

    // What the program did.
    QList<MessageBoxRequest> messages;
    QStringList calls;
    QString clipboard; // also put on the application's clipboard, for the editor's paste

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> chooseFileToOpen(const QString& filter) override;
    std::optional<QString> chooseFileToSave(const QString& filter) override;
    QString runFindDialog(const QString& previousText) override;
    bool setClipboardText(const QString& text) override;
    QDateTime currentDateTime() override;
    QLocale locale() override;
    void beep() override;
    void closeHelp() override;
    void exitProcess() override;

    int count(const QString& call) const { return int(calls.count(call)); }
};
