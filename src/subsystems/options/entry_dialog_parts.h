#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <span>
#include <utility>

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;
class Twips;

// The parts the Glossary Entries and File Entries dialogs share.

// Window flags of both: an ordinary window that can be minimized and
// maximized, kept above the main window.
inline constexpr Qt::WindowFlags EntryDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
    | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// A caption over the boxes (centred, 6135 twips wide) or beside one
// (right-aligned, 435 twips wide); positions in twips.
struct LabelPlace
{
    const char* name;
    const char* text;
    bool centred;
    int left;
    int top;
};

// Name, caption, the grey look, and a fixed place on the screen: centred
// over the small main window, the title bar could end up above the screen.
void SetUpEntryDialog(QDialog& dialog, const QString& name, const QString& title, QPoint placeTwips,
                      QSize clientTwips);

void AddEntryLabels(QDialog& dialog, std::span<const LabelPlace> labels);

// A one-line box at this place in twips that holds no more than the settings
// file gives back: at most 255 characters and no line break (a pasted one
// turns into a blank at once), so the box shows what the next start reads.
// A box of one line; spokenName is what a screen reader calls it.
QLineEdit* AddEntryBox(QDialog& dialog, const QString& name, const QString& spokenName, int left, int top, int width);

// OK (the default button) and Cancel side by side at this top, in twips.
std::pair<QPushButton*, QPushButton*> AddOkAndCancel(QDialog& dialog, int topTwips);

// The tab order as listed; the first gets the focus.
void SetTabOrder(const QList<QWidget*>& order);
