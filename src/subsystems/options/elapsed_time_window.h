#pragma once

#include <QWidget>

class QLabel;

// The stopwatch's window: the elapsed time in large figures. It has no close
// button and ignores close requests from the window system; it closes when
// the stopwatch stops.
class Form12 : public QWidget
{
    Q_OBJECT

public:
    explicit Form12(QWidget* parent = nullptr);

    void showTime(const QString& text);
    QLabel& label() const { return *m_label; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label;
};
