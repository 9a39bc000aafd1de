// A plain Qt main window with the widgets of Scriblet's: the same menu bar,
// the fifteen bar buttons above a plain-text editor, a 100 ms timer and the
// same default place and size. The benchmark holds Scriblet against it.
#include "platform/twips.h"
#include "settings/settings.h"
#include "window/button_bar.h"
#include "window/main_window_layout.h"
#include "window/menu_tree.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

class BareWindow : public QMainWindow
{
public:
    BareWindow()
    {
        auto* client = new QWidget(this);
        setCentralWidget(client);
        m_editor = new QPlainTextEdit(client);
        addButtons(*client);
        addMenus();
        connect(&m_timer, &QTimer::timeout, this, [] {});
        m_timer.start(100);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        const int top = Twips::forWidget(*this).toPixels(ButtonBarHeight);
        const QWidget* client = centralWidget();
        m_editor->setGeometry(0, top, client->width(), std::max(client->height() - top, 0));
    }

private:
    void addButtons(QWidget& client)
    {
        const Twips twips = Twips::forWidget(*this);
        for (int i = 0; i < BarButtonCount; ++i) {
            auto* button = new QPushButton(QString::fromLatin1(BarButtons[std::size_t(i)].caption), &client);
            button->setGeometry(twips.toPixels(BarButtonSpacing * i, 0, BarButtonWidth, BarButtonHeight));
        }
    }

    void addMenus()
    {
        for (const MenuEntry& entry : MainMenuTree()) {
            QMenu* menu = menuBar()->addMenu(QString::fromLatin1(entry.caption));
            for (const MenuItemEntry& item : entry.items) {
                if (!item.command) {
                    menu->addSeparator();
                    continue;
                }
                QAction* action = menu->addAction(QString::fromLatin1(item.caption));
                action->setCheckable(item.checkable);
                if (*item.shortcut)
                    action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            }
        }
    }

    QPlainTextEdit* m_editor = nullptr;
    QTimer m_timer;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    BareWindow window;
    // Scriblet's window without a settings file: default place, minimum size.
    const Twips twips = Twips::forWidget(window);
    window.move(twips.toPixels(DefaultLeft), twips.toPixels(DefaultTop));
    window.resize(twips.toPixels(MinimumWindowWidth), twips.toPixels(MinimumHeightWithBar));
    window.show();
    return QApplication::exec();
}
