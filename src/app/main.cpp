#include "app/app_state.h"
#include "app/startup.h"
#include "ui/form5.h"
#include "ui/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("scriblet"));
    QApplication::setDesktopFileName(QStringLiteral("scriblet"));
    QtPlatform platform;
    AppState state;
    const std::unique_ptr<Form5> window = RunStartup(state, platform, CommandLineText(QApplication::arguments()));
    return QApplication::exec();
}
