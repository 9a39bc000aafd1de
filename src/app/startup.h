#pragma once

#include <QString>

#include <memory>

class Form5;
class Platform;
struct AppState;

// The arguments after the program's own path, joined by blanks: the text the
// command line is split from.
QString CommandLineText(const QStringList& arguments);

// The start-up sequence: takes the document path from the command line,
// finds the configuration directory, reads the settings and shows the main
// window. Returns the shown window; from then on the program lives on events.
std::unique_ptr<Form5> RunStartup(AppState& state, Platform& platform, const QString& commandLineText);
