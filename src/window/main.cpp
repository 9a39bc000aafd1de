#include "platform/accessible_windows.h"
#include "platform/qt_platform.h"
#include "platform/termination_signals.h"
#include "platform/window_system.h"
#include "window/app_state.h"
#include "window/command_line.h"
#include "window/form5.h"
#include "window/startup.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const CommandLineOptions options = ReadCommandLineOptions(arguments);
    // Answered before anything else: no display is needed, no setting is read.
    if (options.request != CommandLineRequest::OpenNote) {
        const QByteArray text =
            options.request == CommandLineRequest::ShowUsage ? CommandLineUsage() : CommandLineVersion();
        return std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size()) &&
                       std::fflush(stdout) == 0
                   ? EXIT_SUCCESS
                   : EXIT_FAILURE;
    }
    // Every argument belongs to the program: given to Qt, "-reverse" or
    // "-platform x" would act instead of naming a note.
    int qtArgumentCount = argc > 0 ? 1 : 0;
    const bool chosePlatform = PreferX11WindowSystem();
    QApplication application(qtArgumentCount, argv);
    if (chosePlatform)
        ForgetWindowSystemChoice();
    AnnounceOwnWindowsAsWindows();
    QApplication::setApplicationName(QStringLiteral("scriblet"));
    QApplication::setDesktopFileName(QStringLiteral("scriblet"));
    QtPlatform platform;
    AppState state;
    // From the first question of the start-up on: the window exists from
    // before that question, and before it there is nothing to keep. Without
    // any X call: this may run inside Xlib's handler of a lost connection.
    const auto keepText = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<Form5*>(widget)) {
                window->endWithoutAsking();
                return true;
            }
        }
        return false;
    };
    TerminationSignals terminationSignals([keepText] {
        if (!keepText())
            std::exit(0);
    });
    WhenX11ConnectionBreaks(keepText);
    const std::unique_ptr<Form5> window = RunStartup(state, platform, options.noteArguments);
    if (platform.exitRequested())
        return 0;
    QObject::connect(&application, &QGuiApplication::commitDataRequest, window.get(), [&window](QSessionManager& session) {
        if (!window->commitSession(session.allowsInteraction()))
            session.cancel();
        session.release();
    });
    const int status = QApplication::exec();
    WhenX11ConnectionBreaks(nullptr);
    return status;
}
