#pragma once

#include "platform/platform.h"

#include <QFileDialog>

#include <memory>

class HelpWindow;
class QPrinter;
class X11Desktop;

// The platform as Qt provides it on a Linux desktop.
class QtPlatform : public Platform
{
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    std::optional<QString> askText(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> chooseFileToOpen(const QString& filter) override;
    std::optional<QString> chooseFileToSave(const QString& filter) override;
    std::optional<QString> browseForFile(const QString& filter, QString& lastChosen) override;
    std::optional<QColor> chooseColor() override;
    std::optional<QFont> chooseFont() override;
    std::optional<int> choosePrintCopies() override;
    void setUpPrinter() override;
    bool printerInstalled() override;
    std::unique_ptr<PrinterDevice> startPrintJob(const QString& title) override;
    QString clipboardText() override;
    bool setClipboardText(const QString& text) override;
    bool modalDialogOpen() const override;
    QDateTime currentDateTime() override;
    std::int64_t monotonicMilliseconds() override;
    QLocale locale() override;
    void beep() override;
    std::unique_ptr<SingleShotTimer> makeSingleShotTimer(std::function<void()> action) override;
    void showHelp(HelpBook book) override;
    void closeHelp() override;
    QList<DesktopWindow> desktopWindows() override;
    std::optional<DesktopWindow> activeWindow() override;
    void activateWindow(quint64 id) override;
    QString findProgram(const QString& name) override;
    bool windowRunsProgram(const DesktopWindow& window, const QString& path) override;
    qint64 startProgram(const QString& path) override;
    bool openLinkWithHandler(const QString& link) override;
    void typeText(quint64 window, const QString& text) override;
    void processEvents() override;
    void exitProcess() override;
    bool exitRequested() const override { return m_exitRequested; }

private:
    std::optional<QString> runFileDialog(QFileDialog::AcceptMode acceptMode, const QString& filter, QString& lastChosen);
    QPrinter& printer();
    X11Desktop& desktop();

    QString m_lastFileName;
    bool m_exitRequested = false;
    // The colour and font dialogs start from their last choice, like the file name.
    QColor m_lastColor = Qt::black;
    QFont m_lastFont;
    // Made on first use: looking for printers can take a while.
    std::unique_ptr<QPrinter> m_printer;
    // Made when first asked for: the help when opened, the desktop at the first search.
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<X11Desktop> m_desktop;
};

// "Name (*.ext)|*.ext|..." as a Qt file-dialog filter whose patterns match the
// extension in lower and upper case.
QString QtFileFilter(const QString& filter);
