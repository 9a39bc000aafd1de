#include "window/startup.h"

#include "platform/platform.h"
#include "settings/app_paths.h"
#include "settings/private_profile.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/welcome_note.h"
#include "window/app_state.h"
#include "window/command_line.h"
#include "window/form5.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

// The name is shown as well as it can be; the bytes that are not UTF-8 show as replacement characters.
void ShowUnusableName(Platform& platform, const QString& shownName)
{
    ShowError(platform,
              QStringLiteral("The Note Named On The Command Line, ") + shownName
                  + QStringLiteral(", Cannot Be Opened Because Its Name Is Not Valid UTF-8 Text.")
                  + QStringLiteral("  Please Rename The File And Try Again."),
              QStringLiteral("Unusable File Name"));
}

void TakeDocumentFromCommandLine(AppState& state, Platform& platform, const QByteArrayList& arguments)
{
    const CommandLineDocument named = DocumentFromArguments(arguments);
    if (named.path.isEmpty())
        return;
    state.CommandLineNamedDocument = true;
    if (named.nameUnusable) {
        ShowUnusableName(platform, named.path);
        state.settings.FileName = UntitledFileName;
        return;
    }
    // Kept as a full path: it is stored at exit and must still name the note from elsewhere.
    state.settings.FileName = QFileInfo(named.path).absoluteFilePath();
}

} // namespace

std::unique_ptr<Form5> RunStartup(AppState& state, Platform& platform, const QByteArrayList& arguments)
{
    TakeDocumentFromCommandLine(state, platform, arguments);
    state.document.ProgramDirectory = ProgramDataDirectory();
    const QString configDirectory = FindConfigDirectory();
    if (configDirectory.isEmpty())
        ShowError(platform, QStringLiteral("Could Not Find Windows Directory"), QStringLiteral("Error"));
    else
        state.SettingsPath = configDirectory + u'/' + SettingsSection + QStringLiteral(".INI");
    // Without a settings file the program runs on the defaults: zeros would give a black editor with black text.
    LoadSettings(state.settings, PrivateProfile(state.SettingsPath), state.document.ProgramDirectory,
                 state.CommandLineNamedDocument);

    PrepareProgramDirectory(state.document.ProgramDirectory, state.SettingsPath);
    auto window = std::make_unique<Form5>(state, platform);
    window->load();
    // A close request of the system during the start-up's questions has ended the program.
    if (platform.exitRequested())
        return window;
    window->show();
    if (state.settings.FileInTitle == 1)
        QCoreApplication::processEvents();
    // Also names the note's editor for screen readers.
    UpdateTitle(state.settings, *window);
    return window;
}
