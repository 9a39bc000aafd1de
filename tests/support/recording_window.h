#pragma once

#include "platform/main_window_control.h"

// A main window that only remembers what the commands asked of it.
class RecordingWindow : public MainWindowControl
{
public:
    QString shownTitle;
    bool onTop = false;
    bool barShown = true;
    int outerHeightTwips = 0;
    int closeRequests = 0;
    int endsWithoutAsking = 0;
    QString stopwatchButton = QStringLiteral("ET");
    QString noteName;
    bool stopwatchRunning = false;

    QString title() const override { return shownTitle; }
    void setTitle(const QString& title) override { shownTitle = title; }
    void setNoteName(const QString& name) override { noteName = name; }
    void setAlwaysOnTop(bool top) override { onTop = top; }
    void setButtonBarShown(bool shown) override { barShown = shown; }
    void setOuterHeight(int twips) override { outerHeightTwips = twips; }
    QString stopwatchCaption() const override { return stopwatchButton; }
    void setStopwatchCaption(const QString& caption) override { stopwatchButton = caption; }
    void setStopwatchRunning(bool running) override { stopwatchRunning = running; }
    void requestClose() override { ++closeRequests; }
    void endWithoutAsking() override { ++endsWithoutAsking; }
};
