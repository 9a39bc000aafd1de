#pragma once

#include <QString>

class QWidget;
struct Settings;

// FileName of a document that has no file yet; no file of this name is ever meant to exist.
inline const QString UntitledFileName = QStringLiteral("PQRSTUVW.XYZ");

// What the title bar shows for a document: its bare file name, or
// "UNNAMED.SCB" for an untitled one.
QString DocumentCaption(const QString& fileName);

// With the file-name-in-title option on, replaces the window's whole caption
// by the document's caption; otherwise leaves it alone.
void UpdateTitle(const Settings& settings, QWidget& window);
