#pragma once

#include "platform/platform.h"

#include <QFileDialog>

#include <memory>

class QPrinter;

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
    std::unique_ptr<PrinterDevice> startPrintJob() override;
    QString clipboardText() override;
    bool setClipboardText(const QString& text) override;
    bool modalDialogOpen() const override;
    QDateTime currentDateTime() override;
    QLocale locale() override;
    void beep() override;
    std::unique_ptr<SingleShotTimer> makeSingleShotTimer(std::function<void()> action) override;
    void closeHelp() override;
    void exitProcess() override;

private:
    std::optional<QString> runFileDialog(QFileDialog::AcceptMode acceptMode, const QString& filter, QString& lastChosen);
    QPrinter& printer();

    QString m_lastFileName;
    // The colour and font dialogs start from their last choice, like the file name.
    QColor m_lastColor = Qt::black;
    QFont m_lastFont;
    // Made on first use: looking for printers can take a while.
    std::unique_ptr<QPrinter> m_printer;
};

// "Name (*.ext)|*.ext|..." as a Qt file-dialog filter whose patterns match the
// extension in lower and upper case.
QString QtFileFilter(const QString& filter);
