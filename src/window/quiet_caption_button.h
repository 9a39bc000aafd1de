#pragma once

#include <QPushButton>

// A push button whose shown caption can change often (the stopwatch's
// blinking "ET") without a screen reader hearing each change: Qt announces
// every change of a button's text as a new name, so the caption is drawn
// here and the text stays as it was made. Whether what the button starts
// is on (the stopwatch runs) is told to screen readers as a checked state;
// its caption already shows it, so it is not drawn.
class QuietCaptionButton : public QPushButton
{
    Q_OBJECT

public:
    QuietCaptionButton(const QString& caption, QWidget* parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    bool isOn() const { return m_on; }
    void setOn(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    bool m_on = false;
};
