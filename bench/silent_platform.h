#pragma once

#include "platform/platform.h"

#include <QList>

// A platform that answers no question: dialogs are cancelled, except the
// open dialog, which names the note to open. Every message the program shows
// is kept, so the benchmark can tell a routine that failed from one that ran.
class SilentPlatform : public Platform
{
public:
    QString noteToOpen;
    QList<MessageBoxRequest> messages;

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFileToOpen(const QString&) override { return noteToOpen; }
    std::optional<QString> chooseFileToSave(const QString&) override { return {}; }
    std::optional<QString> browseForFile(const QString&, QString&) override { return {}; }
    std::optional<QColor> chooseColor() override { return {}; }
    std::optional<QFont> chooseFont() override { return {}; }
    std::optional<int> choosePrintCopies() override { return {}; }
    void setUpPrinter() override {}
    bool printerInstalled() override { return false; }
    std::unique_ptr<PrinterDevice> startPrintJob(const QString&) override;
    QString clipboardText() override { return {}; }
    bool setClipboardText(const QString&) override { return false; }
    bool modalDialogOpen() const override { return false; }
    QDateTime currentDateTime() override;
    std::int64_t monotonicMilliseconds() override;
    QLocale locale() override { return QLocale::system(); }
    void beep() override {}
    std::unique_ptr<SingleShotTimer> makeSingleShotTimer(std::function<void()> action) override;
    void showHelp(HelpBook) override {}
    void closeHelp() override {}
    QList<DesktopWindow> desktopWindows() override { return {}; }
    std::optional<DesktopWindow> activeWindow() override { return {}; }
    void activateWindow(quint64) override {}
    QString findProgram(const QString&) override { return {}; }
    bool windowRunsProgram(const DesktopWindow&, const QString&) override { return false; }
    qint64 startProgram(const QString&) override { return 0; }
    bool openLinkWithHandler(const QString&) override { return false; }
    void typeText(quint64, const QString&) override {}
    void processEvents() override {}
    void exitProcess() override {}
    bool exitRequested() const override { return false; }
};
