#pragma once

#include "platform/platform.h"

#include <QFileDialog>

// The platform as Qt provides it on a Linux desktop.
class QtPlatform : public Platform
{
public:
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

private:
    std::optional<QString> runFileDialog(QFileDialog::AcceptMode acceptMode, const QString& filter);

    QString m_lastFileName;
};

// "Name (*.ext)|*.ext|..." as a Qt file-dialog filter whose patterns match the
// extension in lower and upper case.
QString QtFileFilter(const QString& filter);
