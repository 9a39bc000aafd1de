#pragma once

#include <QByteArrayList>

#include <memory>

class Form5;
class Platform;
struct AppState;

// The start-up sequence: takes the document path from the program's
// arguments (those after its own path),
// finds the configuration directory, reads the settings and shows the main
// window. Returns the shown window; from then on the program lives on events.
std::unique_ptr<Form5> RunStartup(AppState& state, Platform& platform, const QByteArrayList& arguments);
