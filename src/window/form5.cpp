#include "window/form5.h"

#include "window/quiet_caption_button.h"

#include "platform/classic_look.h"
#include "platform/editor_control.h"
#include "platform/program_resources.h"
#include "platform/twips.h"
#include "platform/window_system.h"
#include "settings/app_paths.h"
#include "subsystems/documents/document_commands.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_follower.h"
#include "subsystems/documents/recovery_keeper.h"
#include "subsystems/documents/recovery_offer.h"
#include "subsystems/documents/save_changes.h"
#include "subsystems/editing/delete_caret_line.h"
#include "subsystems/editing/editing_commands.h"
#include "subsystems/options/appearance.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/timer_procedure.h"
#include "subsystems/options/timer_tick.h"
#include "subsystems/tools/tools_commands.h"
#include "window/app_state.h"
#include "window/button_bar.h"
#include "window/main_window_layout.h"
#include "window/menu_tree.h"
#include "window/shutdown.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Longer than any window manager takes to frame a new window.
constexpr int SettleMilliseconds = 2000;

QRect TwipsToPixels(const Twips& twips, const Settings& s)
{
    return twips.toPixels(s.Left, s.Top, s.Width, s.Height);
}

// The window manager's size, not one the program or the user chose.
bool SizedByWindowManager(const QWidget& window)
{
    return window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

QList<QRect> ScreenRects()
{
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.append(screen->geometry());
    return rects;
}

} // namespace

// A plain window has the desktop's usual close, minimize and maximize buttons.
Form5::Form5(AppState& state, Platform& platform, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , m_state(state)
    , m_platform(platform)
    , m_recoveryStore(FindRecoveryDirectories(), m_storage)
    , m_forms(this)
    , m_ticker(platform, state.timer, state.settings, [this] { RunTimerTick(optionsContext()); })
    , m_menuKeyRepeat([&platform] { return platform.monotonicMilliseconds(); })
{
    setObjectName(QStringLiteral("Form5"));
    EnsureProgramResources();
    ApplyClassicGrey(*this);

    m_clientArea = new QWidget(this);
    setCentralWidget(m_clientArea);
    m_editor = new EditorControl(m_clientArea);
    m_editor->setObjectName(QStringLiteral("Text1"));
    m_recovery = std::make_unique<RecoveryKeeper>(documentContext(), m_recoveryStore);
    m_follower = std::make_unique<NoteFollower>(documentContext());
    connect(m_editor->document(), &QTextDocument::contentsChanged, this, [this] { m_sessionClose = SessionClose::Ask; });
    buildButtonBar(m_clientArea);
    buildMenus();
    ApplyClassicGrey(*menuBar());
    registerCommands();
    setTabOrder(m_editor, m_buttons.front());

    connect(m_editor, &EditorControl::deleteLineKeyPressed, this, [this] { DeleteCaretLine(*m_editor); });
    connect(m_editor, &EditorControl::commandRequested, this, &Form5::runCommand);
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(SettleMilliseconds);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] {
        // What the window manager made of the window is what it is now.
        m_placement.settle();
        followWindowSystem();
        LayoutMainWindow();
    });
}

Form5::~Form5() = default;

void Form5::buildButtonBar(QWidget* clientArea)
{
    const Twips twips = Twips::forWidget(*this);
    const QFont font = ClassicFont(8.25);
    for (int i = 0; i < BarButtonCount; ++i) {
        const QString caption = QString::fromLatin1(BarButtons[i].caption);
        QPushButton* button = nullptr;
        if (i == ElapsedTimeButton)
            button = m_stopwatchButton = new QuietCaptionButton(caption, clientArea);
        else
            button = new QPushButton(caption, clientArea);
        button->setObjectName(QStringLiteral("Command1_%1").arg(i));
        button->setAccessibleDescription(QString::fromLatin1(BarButtons[i].description));
        button->setFont(font);
        button->setGeometry(twips.toPixels(BarButtonSpacing * i, 0, BarButtonWidth, BarButtonHeight));
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { ButtonBarCommand(i); });
        if (i > 0)
            setTabOrder(m_buttons[i - 1], button);
        m_buttons[i] = button;
    }
}

// A bar button is called what its menu item is called, and shows its shortcut.
void Form5::nameBarButton(QPushButton& button, const QAction& action)
{
    QString name = action.text();
    name.remove(u'&');
    button.setAccessibleName(name);
    const QString shortcut = action.shortcut().toString(QKeySequence::NativeText);
    button.setToolTip(shortcut.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, shortcut));
}

void Form5::buildMenus()
{
    QList<QKeySequence> shortcuts;
    for (const MenuEntry& menuEntry : MainMenuTree()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(menuEntry.caption));
        menu->setObjectName(QString::fromLatin1(menuEntry.name));
        for (const MenuItemEntry& item : menuEntry.items) {
            if (!item.command) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            action->setCheckable(item.checkable);
            if (*item.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
                shortcuts.append(action->shortcut());
            }
            if (item.barIndex >= 0)
                connect(action, &QAction::triggered, this, [this, index = item.barIndex] { ButtonBarCommand(index); });
            else
                connect(action, &QAction::triggered, this, [this, command = *item.command] { runCommand(command); });
            // The stopwatch's item runs the stopwatch, not the button's release.
            const int button = item.command == CommandId::ElapsedTimeMenu ? ElapsedTimeButton : item.barIndex;
            if (button >= 0)
                nameBarButton(*m_buttons[std::size_t(button)], *action);
            m_actions[std::size_t(*item.command)] = action;
        }
    }
    m_editor->setReservedShortcuts(shortcuts);
}

void Form5::registerCommands()
{
    RegisterDocumentCommands(m_commands, documentContext());
    RegisterEditingCommands(m_commands, {m_state.find, m_state.settings, m_platform, *m_editor, m_forms});
    RegisterOptionsCommands(m_commands, optionsContext());
    RegisterToolsCommands(m_commands, {m_platform, *m_editor, m_forms});
    // A command nobody handles would do nothing without a word: name it.
    QStringList unwired;
    for (const CommandId command : m_commands.unwired()) {
        if (const QAction* item = action(command)) {
            unwired.append(item->objectName());
            continue;
        }
        for (int i = 0; i < BarButtonCount; ++i) {
            if (BarButtons[std::size_t(i)].command == command)
                unwired.append(m_buttons[std::size_t(i)]->objectName());
        }
    }
    if (!unwired.isEmpty())
        qWarning("Commands without a handler: %s", qPrintable(unwired.join(QStringLiteral(", "))));
}

void Form5::load()
{
    // Changing window flags re-creates the window, so the topmost flag is set
    // before the window is placed.
    if (m_state.settings.OnTop == 1)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    placeWindow();
    ResetTimerCounters(m_state.timer, m_platform.monotonicMilliseconds());
    m_ticker.plan();
    setButtonBarShown(m_state.settings.ButtonBar != 0);
    syncCheckMarks();
    ApplyEditorAppearance(*m_editor, m_state.settings);
    DocumentContext document = documentContext();
    LoadStartupDocumentOfferingRecovery(document, *m_recovery, m_recoveryStore, m_state.CommandLineNamedDocument);
}

DocumentContext Form5::documentContext()
{
    return {m_state.settings, m_state.document, m_platform, *m_editor, *this, m_storage, m_follower.get()};
}

OptionsContext Form5::optionsContext()
{
    return {m_state.settings, m_state.timer, m_ticker, m_platform, *m_editor, *this, m_forms, documentContext()};
}

void Form5::placeWindow()
{
    const Twips twips = Twips::forWidget(*this);
    Settings& s = m_state.settings;
    const QList<QRect> screens = ScreenRects();
    // A window stored on a screen that is gone would come up out of reach.
    if (!TitleBarOnSomeScreen(TwipsToPixels(twips, s), screens)) {
        s.Left = DefaultLeft;
        s.Top = DefaultTop;
    }
    // Nor is a window larger than every screen together of any use (or
    // possible: X11 sizes end at 32767 pixels).
    const QSize desktop = std::accumulate(screens.cbegin(), screens.cend(), QRect(),
                                          [](const QRect& all, const QRect& screen) { return all | screen; })
                              .size();
    if (!desktop.isEmpty()) {
        s.Width = std::min(s.Width, twips.fromPixels(desktop.width()));
        s.Height = std::min(s.Height, twips.fromPixels(desktop.height()));
    }
    const QRect outer = TwipsToPixels(twips, s);
    m_placement.place(outer);
    // A top-level window's position is its frame's; its size is the client's,
    // and there is no frame yet.
    move(outer.topLeft());
    resize(outer.size().expandedTo(QSize(1, 1)));
    m_settleTimer.start();
}

void Form5::requestClientSize(QSize size)
{
    resize(size);
    m_settleTimer.start();
}

void Form5::followWindowSystem()
{
    if (isMinimized())
        return;
    if (const std::optional<QSize> client = m_placement.reported(geometry(), frameGeometry()))
        requestClientSize(*client);
}

void Form5::followWindowState()
{
    const bool maximized = SizedByWindowManager(*this);
    if (maximized == m_placement.maximized())
        return;
    m_placement.setMaximized(maximized);
    if (!maximized) {
        m_settleTimer.start();
        followWindowSystem();
    }
}

void Form5::ButtonBarCommand(int index)
{
    if (index < 0 || index >= BarButtonCount)
        return;
    runCommand(BarButtons[index].command);
    if (BarCommandReturnsFocus(index))
        m_editor->setFocus();
}

void Form5::runCommand(CommandId command)
{
    m_commands.run(command);
    syncCheckMarks();
}

void Form5::SetBaseTitle() { ::SetBaseTitle(*this); }

QString Form5::title() const { return windowTitle(); }

// Setting a name again tells assistive technology of a change, as every
// automatic save would: only what differs is set.
void Form5::setTitle(const QString& title)
{
    if (title != windowTitle())
        setWindowTitle(title);
}

void Form5::setAlwaysOnTop(bool onTop)
{
    // Only the window manager's state of the existing window changes. A new
    // native window (what setWindowFlag makes) is framed anew, may move, and
    // leaves the program's own windows transient for one that is gone.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
}

void Form5::setOuterHeight(int twips)
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    const Twips scale = Twips::forWidget(*this);
    requestClientSize(m_placement.resizeOuter(QSize(m_placement.outer().width(), scale.toPixels(twips))));
}

void Form5::setNoteName(const QString& name)
{
    if (name != m_editor->accessibleName())
        m_editor->setAccessibleName(name);
}

QString Form5::stopwatchCaption() const { return m_stopwatchButton->caption(); }

void Form5::setStopwatchCaption(const QString& caption) { m_stopwatchButton->setCaption(caption); }

void Form5::setStopwatchRunning(bool running) { m_stopwatchButton->setOn(running); }

void Form5::requestClose()
{
    m_sessionClose = SessionClose::Ask;
    close();
}

// Also while a close waits on its question, when Qt would drop a second close.
void Form5::endWithoutAsking()
{
    if (!m_ended)
        endProgram(m_sessionClose != SessionClose::Decided);
}

bool Form5::commitSession(bool mayAsk)
{
    if (m_ended)
        return true;
    if (!mayAsk) {
        m_sessionClose = SessionClose::KeepText;
        m_recovery->keepNow();
        WriteSettingsFile(m_state, ReadEditorAppearance(*m_editor), isMinimized());
        return true;
    }
    if (!askToClose())
        return m_ended;
    // The user has decided: the close the session sends next must not ask again.
    m_sessionClose = SessionClose::Decided;
    m_recovery->forget();
    return true;
}

void Form5::setButtonBarShown(bool shown)
{
    m_barShown = shown;
    for (QPushButton* button : m_buttons)
        button->setVisible(shown);
    LayoutMainWindow();
}

void Form5::syncCheckMarks()
{
    const Settings& s = m_state.settings;
    action(CommandId::AlwaysOnTop)->setChecked(s.OnTop == 1);
    action(CommandId::OptionsFileInTitle)->setChecked(s.FileInTitle == 1);
    action(CommandId::OptionsShowButtonBar)->setChecked(s.ButtonBar != 0);
}

void Form5::LayoutMainWindow()
{
    const Settings& s = m_state.settings;
    if (isMinimized()) {
        UpdateTitle(s, *this);
        return;
    }
    const Twips twips = Twips::forWidget(*this);
    const QSize outer = m_placement.outer().size();
    const MainWindowGeometry g = MainWindowGeometryFor(twips.fromPixels(outer.width()), twips.fromPixels(outer.height()),
                                                       m_barShown);
    const int top = twips.toPixels(g.editorTop);
    m_editor->setGeometry(0, top, m_clientArea->width(), std::max(m_clientArea->height() - top, 0));
    if (g.windowResized && !SizedByWindowManager(*this)) {
        // Rounded up so the window never ends below its minimum size; the new
        // size runs the rule again.
        requestClientSize(m_placement.resizeOuter(QSize(int(std::ceil(g.windowWidth / twips.perPixel())),
                                                        int(std::ceil(g.windowHeight / twips.perPixel())))));
        return;
    }
    if (s.FileInTitle == 0)
        SetBaseTitle();
    else
        UpdateTitle(s, *this);
}

void Form5::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    followWindowSystem();
    LayoutMainWindow();
}

void Form5::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    followWindowSystem();
}

void Form5::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        SetBaseTitle();
    // Made once the window is on the screen: reading and converting the icon
    // is the slowest part of showing the window, and the title bar and the
    // task list take it a moment later.
    if (!testAttribute(Qt::WA_SetWindowIcon)) {
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(QIcon(QStringLiteral(":/icons/scriblet.png"))); }, Qt::QueuedConnection);
    }
}

void Form5::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        onActivationChange();
    else if (event->type() == QEvent::WindowStateChange) {
        followWindowState();
        LayoutMainWindow();
    }
}

// The base title belongs to the moment the window becomes active again among
// the program's own windows, before the command that opened a dialog goes on
// (and may put the document's name back). A window system activates the
// window only after the dialog has gone, so the base title is set when one of
// the program's windows takes over instead. Other programs' windows do not count.
void Form5::onActivationChange()
{
    if (isActiveWindow()) {
        if (!m_activatedBefore) {
            m_activatedBefore = true;
            SetBaseTitle();
            UpdateTitle(m_state.settings, *this);
        }
    } else if (QApplication::activeWindow()) {
        SetBaseTitle();
    }
}

bool Form5::eventFilter(QObject* watched, QEvent* event)
{
    const bool barButton = std::find(m_buttons.cbegin(), m_buttons.cend(), watched) != m_buttons.cend();
    // The Menu key or Shift+F10 on a bar button does what its right click
    // does. X11's Qt also turns the Menu key into a context menu request: one is enough.
    if (barButton && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey && event->type() == QEvent::KeyRelease) {
            m_menuKeyRepeat.noteRelease(*key);
            return true;
        }
        // A key held down repeats; a mouse button let go does not.
        if (menuKey && m_menuKeyRepeat.isRepeat(*key))
            return true;
        if (menuKey) {
            BarButtonReleased(optionsContext(), false, watched == m_buttons[ElapsedTimeButton]);
            return true;
        }
    }
    if (barButton && event->type() == QEvent::ContextMenu)
        return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    if (event->type() == QEvent::MouseButtonRelease && barButton) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool left = mouse->button() == Qt::LeftButton;
        BarButtonReleased(optionsContext(), left, watched == m_buttons[ElapsedTimeButton]);
        // Qt gives a button the keyboard on a press of any mouse button; only
        // a left click runs its command, which hands the keyboard back.
        if (!left && focusWidget() == watched)
            m_editor->setFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form5::copyGeometryToSettings()
{
    const Twips twips = Twips::forWidget(*this);
    const QRect outer = m_placement.outer();
    // A value the window still has from the settings keeps its exact twips,
    // so pixel rounding never makes it creep from run to run.
    const auto keep = [&twips](std::int32_t& field, int pixels) {
        if (twips.toPixels(field) != pixels)
            field = twips.fromPixels(pixels);
    };
    Settings& s = m_state.settings;
    // Where the window system tells no position, the stored one stays.
    if (WindowPositionsKnown()) {
        keep(s.Left, outer.x());
        keep(s.Top, outer.y());
    }
    keep(s.Width, outer.width());
    keep(s.Height, outer.height());
}

bool Form5::askToClose()
{
    DocumentContext document = documentContext();
    // A close request of the system may end the program while the question waits.
    return GuardUnsavedChanges(document) && !m_ended;
}

// Text nobody could be asked about is kept for the next start.
void Form5::endProgram(bool keepText)
{
    m_ended = true;
    if (keepText)
        m_recovery->keepNow();
    else
        m_recovery->forget();
    const bool minimized = isMinimized();
    if (!minimized)
        copyGeometryToSettings();
    SaveSettingsAndExit(m_state, m_platform, ReadEditorAppearance(*m_editor), minimized);
}

void Form5::closeEvent(QCloseEvent* event)
{
    // The window manager's close button is the user's own close.
    if (event->spontaneous())
        m_sessionClose = SessionClose::Ask;
    if (!m_ended && m_sessionClose == SessionClose::Ask && !askToClose() && !m_ended) {
        event->ignore();
        return;
    }
    if (!m_ended)
        endProgram(m_sessionClose == SessionClose::KeepText);
    event->accept();
}

