#include "platform/never_minimized.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class MinimizeRefusal : public QObject
{
public:
    explicit MinimizeRefusal(QWidget& window) : QObject(&window), m_window(window) { window.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::WindowStateChange && m_window.isMinimized())
            QTimer::singleShot(0, this, [this] { showAgain(); });
        return false;
    }

private:
    void showAgain()
    {
        if (!m_window.isVisible())
            return;
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
        m_window.show();
        m_window.activateWindow();
    }

    QWidget& m_window;
};

} // namespace

void KeepFromMinimizing(QWidget& window) { new MinimizeRefusal(window); }
