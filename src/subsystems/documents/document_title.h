#pragma once

#include "settings/settings.h"

#include <QString>

class MainWindowControl;

// The caption when the document's name is not shown.
inline const QString BaseTitle = QStringLiteral("Scriblet32 v2.0");

void SetBaseTitle(MainWindowControl& window);

// What the title bar shows for a document: its bare file name, or
// "UNNAMED.SCB" for an untitled one.
QString DocumentCaption(const QString& fileName);

// With the file-name-in-title option on, replaces the window's whole caption
// by the document's caption; otherwise leaves it alone.
void UpdateTitle(const Settings& settings, MainWindowControl& window);
