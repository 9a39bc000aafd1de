#include "platform/qt_platform.h"

#include "platform/color_and_font_dialogs.h"
#include "platform/help_window.h"
#include "platform/monotonic_clock.h"
#include "platform/note_file_dialog.h"
#include "platform/qt_printer.h"
#include "platform/qt_single_shot_timer.h"
#include "platform/x11_desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

QMessageBox::StandardButton ToQt(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString TitleOrDefault(const QString& title) { return title.isEmpty() ? ApplicationTitle : title; }

// Right after a dialog closes the window system may not have activated the
// main window yet; boxes still belong over it, not in the middle of the screen.
QWidget* DialogParent()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && qobject_cast<QMainWindow*>(widget))
            return widget;
    }
    return nullptr;
}

} // namespace

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1];
        const QString label = parts[i].left(parts[i].indexOf(u'(')).trimmed();
        entries.append(QStringLiteral("%1 (%2 %3)").arg(label, pattern.toLower(), pattern.toUpper()));
    }
    return entries.join(QStringLiteral(";;"));
}

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() = default;

MessageAnswer QtPlatform::showMessage(const MessageBoxRequest& request)
{
    QMessageBox box(IconOf(request.icon), TitleOrDefault(request.title), request.text,
                    ButtonsOf(request.buttons), DialogParent());
    // Texts hold file names and what the user typed: "<b>" is shown, never obeyed.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(ToQt(request.defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return request.buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
}

std::optional<QString> QtPlatform::askText(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(DialogParent());
    dialog.setWindowTitle(TitleOrDefault(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPlatform::chooseFileToOpen(const QString& filter)
{
    return runFileDialog(QFileDialog::AcceptOpen, filter, m_lastFileName);
}

std::optional<QString> QtPlatform::chooseFileToSave(const QString& filter)
{
    return runFileDialog(QFileDialog::AcceptSave, filter, m_lastFileName);
}

std::optional<QString> QtPlatform::browseForFile(const QString& filter, QString& lastChosen)
{
    return runFileDialog(QFileDialog::AcceptOpen, filter, lastChosen);
}

std::optional<QString> QtPlatform::runFileDialog(QFileDialog::AcceptMode acceptMode, const QString& filter,
                                                 QString& lastChosen)
{
    NoteFileDialog dialog(DialogParent(), acceptMode, QtFileFilter(filter));
    if (!lastChosen.isEmpty())
        dialog.selectFile(lastChosen);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    lastChosen = dialog.chosenPath();
    return lastChosen;
}

bool QtPlatform::modalDialogOpen() const { return QApplication::activeModalWidget() != nullptr; }

std::optional<QColor> QtPlatform::chooseColor()
{
    QColorDialog dialog(DialogParent());
    UseWithoutCustomColors(dialog);
    dialog.setCurrentColor(m_lastColor);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    m_lastColor = dialog.selectedColor();
    return m_lastColor;
}

std::optional<QFont> QtPlatform::chooseFont()
{
    QFontDialog dialog(DialogParent());
    UseWithoutEffects(dialog);
    dialog.setCurrentFont(m_lastFont);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    m_lastFont = dialog.selectedFont();
    return m_lastFont;
}

QPrinter& QtPlatform::printer()
{
    // A printer whose last job failed to begin can stay marked busy and then
    // refuses every later setting: start over with a fresh one.
    if (m_printer && m_printer->printerState() == QPrinter::Active && !m_printer->paintingActive())
        m_printer.reset();
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

std::optional<int> QtPlatform::choosePrintCopies() { return RunPrintDialog(printer(), DialogParent()); }

void QtPlatform::setUpPrinter() { RunPrintSetupDialog(printer(), DialogParent()); }

bool QtPlatform::printerInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

std::unique_ptr<PrinterDevice> QtPlatform::startPrintJob(const QString& title)
{
    return std::make_unique<QtPrinterDevice>(printer(), title);
}

QString QtPlatform::clipboardText() { return QGuiApplication::clipboard()->text(QClipboard::Clipboard); }

bool QtPlatform::setClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    return clipboard->text() == text;
}

QDateTime QtPlatform::currentDateTime() { return QDateTime::currentDateTime(); }

std::int64_t QtPlatform::monotonicMilliseconds() { return MonotonicMilliseconds(); }

QLocale QtPlatform::locale() { return QLocale::system(); }

void QtPlatform::beep() { QApplication::beep(); }

std::unique_ptr<SingleShotTimer> QtPlatform::makeSingleShotTimer(std::function<void()> action)
{
    return std::make_unique<QtSingleShotTimer>(std::move(action));
}

void QtPlatform::showHelp(HelpBook book)
{
    if (!m_help)
        m_help = std::make_unique<HelpWindow>(HelpDirectory(QCoreApplication::applicationDirPath()));
    m_help->showPage(book == HelpBook::Contents ? QStringLiteral("index.html") : QStringLiteral("help-on-help.html"));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void QtPlatform::closeHelp()
{
    if (m_help)
        m_help->close();
}

X11Desktop& QtPlatform::desktop()
{
    if (!m_desktop)
        m_desktop = std::make_unique<X11Desktop>();
    return *m_desktop;
}

QList<DesktopWindow> QtPlatform::desktopWindows() { return desktop().windows(); }

std::optional<DesktopWindow> QtPlatform::activeWindow() { return desktop().activeWindow(); }

void QtPlatform::activateWindow(quint64 id) { desktop().activate(id); }

QString QtPlatform::findProgram(const QString& name) { return QStandardPaths::findExecutable(name); }

bool QtPlatform::windowRunsProgram(const DesktopWindow& window, const QString& path)
{
    if (window.pid <= 0 || path.isEmpty())
        return false;
    const QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(window.pid)).canonicalFilePath();
    return !running.isEmpty() && running == QFileInfo(path).canonicalFilePath();
}

// On X11 the program is asked to be an X11 client too, so that its window
// can be found, activated and typed into like any other.
qint64 QtPlatform::startProgram(const QString& path)
{
    QProcess process;
    process.setProgram(path);
    if (desktop().available()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("x11"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(environment);
    }
    qint64 pid = 0;
    return process.startDetached(&pid) ? pid : 0;
}

// xdg-utils asks the desktop's own settings (mimeapps.list, or the desktop's
// tools, which may take a second) and starts the handler with the user's
// environment. The window goes on drawing meanwhile.
bool QtPlatform::openLinkWithHandler(const QString& link)
{
    QProcess query;
    QEventLoop loop;
    QObject::connect(&query, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&query, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                            QStringLiteral("x-scheme-handler/") + link.section(u':', 0, 0)});
    if (query.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    // Closed meanwhile (a logout, SIGTERM), the program starts nothing more.
    if (query.state() != QProcess::NotRunning || m_exitRequested) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    // A default left behind by a program since removed opens nothing.
    const QString handler = QString::fromLocal8Bit(query.readAllStandardOutput().trimmed());
    if (query.exitCode() != 0 || handler.isEmpty()
        || QStandardPaths::locate(QStandardPaths::ApplicationsLocation, handler).isEmpty())
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {link});
}

void QtPlatform::typeText(quint64 window, const QString& text) { desktop().typeText(window, text); }

// Runs events for 10 ms, so a loop over this neither spins nor depends on
// some other timer to wake it.
void QtPlatform::processEvents()
{
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtPlatform::exitProcess()
{
    m_exitRequested = true;
    QCoreApplication::exit(0);
}

