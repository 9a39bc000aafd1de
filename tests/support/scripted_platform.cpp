#include "support/scripted_platform.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

std::optional<QString> TakeOrCancel(QList<std::optional<QString>>& queue)
{
    return queue.isEmpty() ? std::nullopt : queue.takeFirst();
}

} // namespace

MessageAnswer ScriptedPlatform::showMessage(const MessageBoxRequest& request)
{
    messages.append(request);
    calls.append(QStringLiteral("showMessage"));
    return messageAnswers.isEmpty() ? request.defaultAnswer : messageAnswers.takeFirst();
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
    return TakeOrCancel(saveFileAnswers);
}

QString ScriptedPlatform::runFindDialog(const QString& previousText)
{
    calls.append(QStringLiteral("runFindDialog:") + previousText);
    return findAnswers.isEmpty() ? QString() : findAnswers.takeFirst();
}

bool ScriptedPlatform::setClipboardText(const QString& text)
{
    calls.append(QStringLiteral("setClipboardText"));
    if (!clipboardWorks)
        return false;
    clipboard = text;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::clipboard()->setText(text);
    return true;
}

QDateTime ScriptedPlatform::currentDateTime() { return now; }

QLocale ScriptedPlatform::locale() { return currentLocale; }

void ScriptedPlatform::beep() { calls.append(QStringLiteral("beep")); }

void ScriptedPlatform::closeHelp() { calls.append(QStringLiteral("closeHelp")); }

void ScriptedPlatform::exitProcess() { calls.append(QStringLiteral("exitProcess")); }
