#pragma once

#include <QFont>

class QWidget;

// The program's windows keep the look they were designed with: bold
// "MS Sans Serif" (or the desktop's sans-serif face in its place) on light grey.
QFont ClassicFont(double points);
void ApplyClassicGrey(QWidget& widget);
