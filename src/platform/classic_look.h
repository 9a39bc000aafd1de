#pragma once

#include <QFont>

class QWidget;

// The look the program's windows are laid out for: bold "MS Sans Serif" (or
// the desktop's sans-serif face in its place) on light grey, so captions fit
// the fixed twips sizes of the buttons and labels.
QFont ClassicFont(double points);
// Bold Arial (or the desktop's sans-serif face in its place), the buttons' face in the option dialogs.
QFont ArialBoldFont(double points);
void ApplyClassicGrey(QWidget& widget);

// Shrinks a label's or check box's font until its caption fits the control's
// fixed width: the face standing in for MS Sans Serif is often wider.
void FitCaptionToWidth(QWidget& control, const QString& caption);
