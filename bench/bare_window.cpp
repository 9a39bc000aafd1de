// A plain Qt main window with the widgets of Scriblet's: the same menu bar,
// the fifteen bar buttons above a plain-text editor holding the welcome note
// with the caret where Scriblet puts it, a 100 ms timer (none with
// --no-timer) and the same default place and size. The benchmark holds
// Scriblet against it.
#include "platform/twips.h"
#include "settings/settings.h"
#include "subsystems/documents/welcome_note.h"
#include "window/button_bar.h"
#include "window/main_window_layout.h"
#include "window/menu_tree.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>

namespace {

class BareWindow : public QMainWindow
{
public:
    explicit BareWindow(bool timer)
    {
        auto* client = new QWidget(this);
        setCentralWidget(client);
        m_editor = new QPlainTextEdit(client);
        // A focused editor repaints the caret's line at every blink: the same line as Scriblet's.
        const QString note = WelcomeNoteText(QStringLiteral("/home/user/.local/share/scriblet"),
                                             QStringLiteral("/home/user/.config/scriblet/SCRIBLET.INI"));
        m_editor->setPlainText(note);
        QTextCursor caret = m_editor->textCursor();
        caret.movePosition(QTextCursor::End);
        caret.movePosition(QTextCursor::PreviousCharacter);
        m_editor->setTextCursor(caret);
        addButtons(*client);
        addMenus();
        connect(&m_timer, &QTimer::timeout, this, [] {});
        if (timer)
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
    BareWindow window(!QApplication::arguments().contains(QStringLiteral("--no-timer")));
    // Scriblet's window without a settings file: default place, minimum size.
    const Twips twips = Twips::forWidget(window);
    window.move(twips.toPixels(DefaultLeft), twips.toPixels(DefaultTop));
    window.resize(twips.toPixels(MinimumWindowWidth), twips.toPixels(MinimumHeightWithBar));
    window.show();
    return QApplication::exec();
}
