#pragma once

#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "platform/commands.h"
#include "window/window_placement.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <array>

class EditorControl;
class Platform;
class QAction;
class QPushButton;
struct AppState;

// The main window: the note editor below a bar of fifteen buttons, the menu
// bar and the 100 ms timer. Its handlers route every command to the
// subsystem that owns it.
class Form5 : public QMainWindow
{
    Q_OBJECT

public:
    static inline const QString BaseTitle = QStringLiteral("Scriblet32 v2.0");

    Form5(AppState& state, Platform& platform, QWidget* parent = nullptr);

    // The load step: places the window and applies the settings. Runs once, before the window is shown.
    void load();

    void ButtonBarCommand(int index);
    void runCommand(CommandId command);
    void SetBaseTitle();
    void LayoutMainWindow();
    void setButtonBarShown(bool shown);

    EditorControl& editor() const { return *m_editor; }
    QPushButton& barButton(int index) const { return *m_buttons.at(index); }
    QAction* action(const QString& name) const { return m_actions.value(name); }
    DocumentContext documentContext();

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
    void placeWindow();
    void requestClientSize(QSize size);
    void followWindowSystem();
    void syncCheckMarks();
    void copyGeometryToSettings();
    void onTimerTick();
    void onActivationChange();

    AppState& m_state;
    Platform& m_platform;
    NoteStorage m_storage;
    EditorControl* m_editor = nullptr;
    QWidget* m_clientArea = nullptr;
    std::array<QPushButton*, 15> m_buttons{};
    QHash<QString, QAction*> m_actions;
    QTimer m_timer;
    WindowPlacement m_placement;
    QTimer m_settleTimer; // gives up waiting for the window manager to settle the window
    bool m_activatedBefore = false;
};
