#pragma once

#include "platform/command_table.h"
#include "platform/form_factory.h"
#include "platform/main_window_control.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/recovery_store.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/ticker.h"
#include "window/key_repeat.h"
#include "window/window_placement.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>

class EditorControl;
class NoteFollower;
class Platform;
class QAction;
class QPushButton;
class QuietCaptionButton;
class RecoveryKeeper;
struct AppState;

// The main window: the note editor below a bar of fifteen buttons, the menu
// bar and the timer of the 100 ms tick. Every menu item, shortcut and bar button runs its
// command through the table the subsystems fill; the window itself keeps the
// actions, the bar and the geometry.
class Form5 : public QMainWindow, public MainWindowControl
{
    Q_OBJECT

public:
    Form5(AppState& state, Platform& platform, QWidget* parent = nullptr);
    ~Form5() override;

    // The load step: places the window and applies the settings. Runs once, before the window is shown.
    void load();

    void ButtonBarCommand(int index);
    void runCommand(CommandId command);
    void SetBaseTitle();
    void LayoutMainWindow();

    QString title() const override;
    void setTitle(const QString& title) override;
    void setAlwaysOnTop(bool onTop) override;
    void setButtonBarShown(bool shown) override;
    void setOuterHeight(int twips) override;
    QString stopwatchCaption() const override;
    void setStopwatchCaption(const QString& caption) override;
    void setStopwatchRunning(bool running) override;
    void setNoteName(const QString& name) override;
    void requestClose() override;
    void endWithoutAsking() override;
    // The session manager's request to save before the desktop session ends:
    // asks the save-changes question when the session lets it (false: the
    // user cancelled, and the logout with it); else keeps the unsaved text
    // and writes the settings, as a close that cannot ask would. The session
    // ends the program afterwards, or goes on (a checkpoint, or a logout
    // another program cancelled).
    bool commitSession(bool mayAsk);

    EditorControl& editor() const { return *m_editor; }
    QPushButton& barButton(int index) const { return *m_buttons.at(std::size_t(index)); }
    // The menu item of a command; nullptr for the bar button's stopwatch click, which has none.
    QAction* action(CommandId command) const { return m_actions.at(std::size_t(command)); }
    const CommandTable& commands() const { return m_commands; }
    FormFactory& forms() { return m_forms; }
    DocumentContext documentContext();
    OptionsContext optionsContext();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtonBar(QWidget* clientArea);
    void buildMenus();
    void nameBarButton(QPushButton& button, const QAction& action);
    void registerCommands();
    void placeWindow();
    void requestClientSize(QSize size);
    void followWindowSystem();
    void followWindowState();
    void syncCheckMarks();
    void copyGeometryToSettings();
    void onActivationChange();
    bool askToClose();
    void endProgram(bool keepText);

    AppState& m_state;
    Platform& m_platform;
    NoteStorage m_storage;
    RecoveryStore m_recoveryStore;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    std::unique_ptr<NoteFollower> m_follower;
    EditorControl* m_editor = nullptr;
    QWidget* m_clientArea = nullptr;
    std::array<QPushButton*, 15> m_buttons{};
    QuietCaptionButton* m_stopwatchButton = nullptr;
    std::array<QAction*, CommandCount> m_actions{};
    CommandTable m_commands;
    FormFactory m_forms;
    Ticker m_ticker;
    WindowPlacement m_placement;
    QTimer m_settleTimer; // gives up waiting for the window manager to settle the window
    KeyRepeat m_menuKeyRepeat; // the Menu key or Shift+F10 held on a bar button
    bool m_activatedBefore = false;
    // What a logout left for the close that follows it; any edit or close of the user's own asks again.
    enum class SessionClose { Ask, Decided, KeepText };
    SessionClose m_sessionClose = SessionClose::Ask;
    bool m_ended = false;
    bool m_barShown = true;
};
