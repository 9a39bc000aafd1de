#include "app/startup.h"

#include "app/app_paths.h"
#include "app/app_state.h"
#include "app/command_line.h"
#include "app/private_profile.h"
#include "document/document_title.h"
#include "document/welcome_note.h"
#include "ui/form5.h"
#include "ui/platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

QString CommandLineText(const QStringList& arguments) { return arguments.mid(1).join(u' '); }

std::unique_ptr<Form5> RunStartup(AppState& state, Platform& platform, const QString& commandLineText)
{
    const QString documentPath = DocumentPathFromWords(ParseCommandLine(commandLineText));
    if (!documentPath.isEmpty()) {
        // Kept as a full path: it is stored at exit and must still name the note from elsewhere.
        state.settings.FileName = QFileInfo(documentPath).absoluteFilePath();
        state.CommandLineNamedDocument = true;
    }

    state.ProgramDirectory = ProgramDataDirectory();
    const QString configDirectory = FindConfigDirectory();
    if (configDirectory.isEmpty()) {
        ShowError(platform, QStringLiteral("Could Not Find Windows Directory"), QStringLiteral("Error"));
    } else {
        state.SettingsPath = configDirectory + u'/' + SettingsSection + QStringLiteral(".INI");
        LoadSettings(state.settings, PrivateProfile(state.SettingsPath), state.ProgramDirectory,
                     state.CommandLineNamedDocument);
    }

    PrepareProgramDirectory(state.ProgramDirectory, state.SettingsPath);
    auto window = std::make_unique<Form5>(state, platform);
    window->load();
    window->show();
    if (state.settings.FileInTitle == 1) {
        QCoreApplication::processEvents();
        UpdateTitle(state.settings, *window);
    }
    return window;
}
