#pragma once

#include <QFont>

class QMenuBar;
class QWidget;

// The look the program's windows are laid out for: bold "MS Sans Serif" (or
// the desktop's sans-serif face in its place) on light grey, so captions fit
// the fixed twips sizes of the buttons and labels.
QFont ClassicFont(double points);
// Bold Arial (or the desktop's sans-serif face in its place), the buttons' face in the option dialogs.
QFont ArialBoldFont(double points);
// The classic grey, with text colours of its own: a desktop's text colours go
// with its own backgrounds, and on a dark theme they are light, unreadable on
// this grey. Fields and push buttons inside keep following the theme.
void ApplyClassicGrey(QWidget& widget);
// A menu bar draws its captions as button text on the grey.
void ApplyClassicGrey(QMenuBar& bar);

// How far apart two colours stand for the eye: 1 (the same) to 21 (black and
// white), from their relative luminance; 4.5 is what running text needs.
double ContrastRatio(const QColor& one, const QColor& other);
// Black or white, whichever stands out more from the background.
QColor ReadableTextOn(const QColor& background);

// Shrinks a label's or check box's font until its caption fits the control's
// fixed width: the face standing in for MS Sans Serif is often wider.
void FitCaptionToWidth(QWidget& control, const QString& caption);
