#pragma once

#include <QWidget>

class QLabel;

// The stopwatch's window: the elapsed time in large figures, kept above the
// main window. It has no close button of its own; the one a Linux window
// manager draws asks for the stopwatch to stop, and the window closes when it
// stops.
class Form12 : public QWidget
{
    Q_OBJECT

public:
    explicit Form12(QWidget* parent = nullptr);

    void showTime(const QString& text);
    QLabel& label() const { return *m_label; }

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label;
};
