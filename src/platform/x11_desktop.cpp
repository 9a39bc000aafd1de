#include "platform/x11_desktop.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QSet>
#include <QSysInfo>
#include <QThread>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>
#include <vector>

// Xlib defines Bool, Status, None and friends as macros: after Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

struct X11Desktop::Connection
{
    explicit Connection(Display* x)
        : display(x)
        , root(DefaultRootWindow(x))
        , clientListStacking(XInternAtom(x, "_NET_CLIENT_LIST_STACKING", False))
        , clientList(XInternAtom(x, "_NET_CLIENT_LIST", False))
        , wmName(XInternAtom(x, "_NET_WM_NAME", False))
        , utf8String(XInternAtom(x, "UTF8_STRING", False))
        , activeWindow(XInternAtom(x, "_NET_ACTIVE_WINDOW", False))
        , wmPid(XInternAtom(x, "_NET_WM_PID", False))
        , wmUserTime(XInternAtom(x, "_NET_WM_USER_TIME", False))
        , wmUserTimeWindow(XInternAtom(x, "_NET_WM_USER_TIME_WINDOW", False))
        , wmState(XInternAtom(x, "_NET_WM_STATE", False))
        , maximizedVert(XInternAtom(x, "_NET_WM_STATE_MAXIMIZED_VERT", False))
        , maximizedHorz(XInternAtom(x, "_NET_WM_STATE_MAXIMIZED_HORZ", False))
    {
        int unused = 0;
        xtest = XTestQueryExtension(display, &unused, &unused, &unused, &unused);
    }

    QString titleOf(Window window) const;
    qint64 pidOf(Window window) const;
    QStringList classOf(Window window) const;
    DesktopWindow describe(Window window, const QSet<quint64>& ours) const;
    Time userTimeOf(Window window) const;
    Time latestUserTime() const;
    Window activeWindowNow() const;
    bool hasFocus(Window window) const;

    Display* display;
    Window root;
    Atom clientListStacking;
    Atom clientList;
    Atom wmName;
    Atom utf8String;
    Atom activeWindow;
    Atom wmPid;
    Atom wmUserTime;
    Atom wmUserTimeWindow;
    Atom wmState;
    Atom maximizedVert;
    Atom maximizedHorz;
    bool xtest = false;
    bool typing = false;
};

namespace {

struct XFreeDeleter
{
    void operator()(void* data) const
    {
        if (data)
            XFree(data);
    }
};

struct Property
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    std::unique_ptr<unsigned char, XFreeDeleter> data;
};

Property ReadProperty(Display* display, Window window, Atom name, Atom type)
{
    Property property;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1 << 20, False, type, &property.type, &property.format,
                           &property.count, &remaining, &data) != Success)
        return {};
    property.data.reset(data);
    if (property.type != type || !data)
        return {};
    return property;
}

std::vector<Window> WindowList(const Property& property)
{
    if (property.format != 32)
        return {};
    // Format-32 items arrive as longs, whatever their size on the wire.
    const auto* items = reinterpret_cast<const unsigned long*>(property.data.get());
    return {items, items + property.count};
}

} // namespace

QString X11Desktop::Connection::titleOf(Window window) const
{
    const Property name = ReadProperty(display, window, wmName, utf8String);
    if (name.format == 8)
        return QString::fromUtf8(reinterpret_cast<const char*>(name.data.get()), qsizetype(name.count));
    // Programs without _NET_WM_NAME (xterm) may give WM_NAME as Latin-1 or compound text.
    XTextProperty legacy{};
    if (!XGetWMName(display, window, &legacy))
        return {};
    std::unique_ptr<unsigned char, XFreeDeleter> owned(legacy.value);
    char** list = nullptr;
    int count = 0;
    QString title;
    if (Xutf8TextPropertyToTextList(display, &legacy, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i)
            title += QString::fromUtf8(list[i]);
        XFreeStringList(list);
    } else if (legacy.encoding == XA_STRING && legacy.value) {
        title = QString::fromLatin1(reinterpret_cast<const char*>(legacy.value), qsizetype(legacy.nitems));
    }
    return title;
}

// A process number means something only on the machine the window's program runs on.
qint64 X11Desktop::Connection::pidOf(Window window) const
{
    XTextProperty machine{};
    if (!XGetWMClientMachine(display, window, &machine))
        return 0;
    std::unique_ptr<unsigned char, XFreeDeleter> owned(machine.value);
    const QByteArray name(reinterpret_cast<const char*>(machine.value), qsizetype(machine.nitems));
    if (machine.format != 8 || name != QSysInfo::machineHostName().toLocal8Bit())
        return 0;
    const Property pid = ReadProperty(display, window, wmPid, XA_CARDINAL);
    if (pid.format != 32 || pid.count != 1)
        return 0;
    return qint64(*reinterpret_cast<const unsigned long*>(pid.data.get()));
}

QStringList X11Desktop::Connection::classOf(Window window) const
{
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return {};
    const std::unique_ptr<char, XFreeDeleter> instance(hint.res_name);
    const std::unique_ptr<char, XFreeDeleter> name(hint.res_class);
    return {QString::fromLocal8Bit(hint.res_name), QString::fromLocal8Bit(hint.res_class)};
}

DesktopWindow X11Desktop::Connection::describe(Window window, const QSet<quint64>& ours) const
{
    Window owner = 0;
    return {window, titleOf(window), XGetTransientForHint(display, window, &owner) != 0, ours.contains(window),
            pidOf(window), classOf(window)};
}

// Qt writes the server time of the user's last key or click in the window
// into _NET_WM_USER_TIME, of the window itself or of the small window that
// _NET_WM_USER_TIME_WINDOW names. 0 when it has none.
Time X11Desktop::Connection::userTimeOf(Window window) const
{
    const std::vector<Window> holder = WindowList(ReadProperty(display, window, wmUserTimeWindow, XA_WINDOW));
    const Property time = ReadProperty(display, holder.empty() ? window : holder.front(), wmUserTime, XA_CARDINAL);
    if (time.format != 32 || time.count != 1)
        return 0;
    return Time(*reinterpret_cast<const unsigned long*>(time.data.get()));
}

Window X11Desktop::Connection::activeWindowNow() const
{
    const std::vector<Window> active = WindowList(ReadProperty(display, root, activeWindow, XA_WINDOW));
    return active.empty() ? 0 : active.front();
}

bool X11Desktop::Connection::hasFocus(Window window) const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    // Some programs hand the focus on to a child window of their own.
    while (focus != 0 && focus != PointerRoot && focus != root) {
        if (focus == window)
            return true;
        Window treeRoot = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, focus, &treeRoot, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        focus = parent;
    }
    return false;
}

namespace {

// Keeps Qt's own windows going meanwhile: those of this program must read
// their keystrokes while the keyboard map they were typed with still holds.
bool WaitUntil(int milliseconds, const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
    return true;
}

// How long a spare key keeps the character typed with it.
constexpr int BoundKeysHeld = 1000;

void Pause(int milliseconds)
{
    WaitUntil(milliseconds, [] { return false; });
}

KeySym KeysymOf(char32_t c)
{
    if (c == U'\t')
        return XK_Tab;
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
        return c;
    if (c < 0xa0)
        return NoSymbol;
    return 0x01000000 + c;
}

std::vector<KeySym> KeysymsOf(const QString& text)
{
    const QList<uint> points = text.toUcs4();
    std::vector<KeySym> keysyms;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (points[i] == U'\r' || points[i] == U'\n') {
            if (points[i] == U'\r' && i + 1 < points.size() && points[i + 1] == U'\n')
                ++i;
            keysyms.push_back(XK_Return);
        } else if (const KeySym keysym = KeysymOf(points[i]); keysym != NoSymbol) {
            keysyms.push_back(keysym);
        }
    }
    return keysyms;
}

struct Key
{
    KeyCode code = 0;
    bool shift = false;
};

struct Keymap
{
    std::unordered_map<KeySym, Key> keys;
    std::vector<KeyCode> spare;
    KeyCode shift = 0;
};

Keymap ReadKeymap(Display* display)
{
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int width = 0;
    const std::unique_ptr<KeySym, XFreeDeleter> map(
        XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &width));
    Keymap keymap;
    if (!map || width < 1)
        return keymap;
    keymap.shift = XKeysymToKeycode(display, XK_Shift_L);
    const auto symbolsOf = [&](int code) { return map.get() + (code - first) * width; };
    for (int code = first; code <= last; ++code) {
        const KeySym* symbols = symbolsOf(code);
        if (std::all_of(symbols, symbols + width, [](KeySym s) { return s == NoSymbol; }))
            keymap.spare.push_back(KeyCode(code));
        else if (symbols[0] != NoSymbol)
            keymap.keys.try_emplace(symbols[0], Key{KeyCode(code), false});
    }
    if (!keymap.shift)
        return keymap;
    for (int code = first; code <= last; ++code) {
        const KeySym* symbols = symbolsOf(code);
        KeySym shifted = width > 1 ? symbols[1] : NoSymbol;
        if (shifted == NoSymbol && symbols[0] != NoSymbol) {
            // A lone letter stands for both of its cases.
            KeySym lower = 0;
            XConvertCase(symbols[0], &lower, &shifted);
        }
        if (shifted != NoSymbol && shifted != symbols[0])
            keymap.keys.try_emplace(shifted, Key{KeyCode(code), true});
    }
    return keymap;
}

void Bind(Display* display, KeyCode code, KeySym keysym)
{
    // Both levels alike, else a lone capital would be taken as a lower-case key.
    KeySym symbols[] = {keysym, keysym};
    XChangeKeyboardMapping(display, code, 2, symbols, 1);
}

void Strike(Display* display, Key key, KeyCode shift)
{
    if (key.shift)
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, key.code, True, CurrentTime);
    XTestFakeKeyEvent(display, key.code, False, CurrentTime);
    if (key.shift)
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
}

QSet<quint64> OurWindows()
{
    QSet<quint64> ours;
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle()) // winId() would create the native window of one not shown yet
            ours.insert(window->winId());
    }
    return ours;
}

Display* QtDisplay()
{
    if (!qGuiApp)
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

} // namespace

X11Desktop::X11Desktop() = default;
X11Desktop::~X11Desktop() = default;

X11Desktop::Connection* X11Desktop::connection() const
{
    if (!m_connection) {
        if (Display* display = QtDisplay())
            m_connection = std::make_unique<Connection>(display);
    }
    return m_connection.get();
}

bool X11Desktop::available() const { return connection() != nullptr; }

QList<DesktopWindow> X11Desktop::windows()
{
    const Connection* x = connection();
    if (!x)
        return {};
    std::vector<Window> clients = WindowList(ReadProperty(x->display, x->root, x->clientListStacking, XA_WINDOW));
    if (clients.empty())
        clients = WindowList(ReadProperty(x->display, x->root, x->clientList, XA_WINDOW));
    const QSet<quint64> ours = OurWindows();
    QList<DesktopWindow> windows;
    for (auto it = clients.rbegin(); it != clients.rend(); ++it)
        windows.append(x->describe(*it, ours));
    return windows;
}

std::optional<DesktopWindow> X11Desktop::activeWindow()
{
    const Connection* x = connection();
    if (!x)
        return std::nullopt;
    const Window active = x->activeWindowNow();
    if (active == 0 || !x->hasFocus(active))
        return std::nullopt;
    return x->describe(active, OurWindows());
}

namespace {

// The source given in these requests says a pager asks, which window
// managers grant without focus-stealing checks.
constexpr long AsPager = 2;

void AskWindowManager(Display* display, Window window, Atom request, const std::array<long, 4>& data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = request;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace

// The server time of the user's latest key or click in any of the program's
// windows: a command from a menu or a shortcut has no input event of its own.
Time X11Desktop::Connection::latestUserTime() const
{
    Time latest = 0;
    for (const quint64 window : OurWindows()) {
        const Time time = userTimeOf(Window(window));
        // Server times wrap around after 49 days.
        if (time != 0 && (latest == 0 || std::int32_t(std::uint32_t(time - latest)) > 0))
            latest = time;
    }
    return latest;
}

// Shown normal, as a maximized window is not: the calculator and dialer are
// small windows. The time of the user's request lets the window manager tell
// it from a program stealing the focus: mutter ignores a request without one.
bool X11Desktop::activate(quint64 id)
{
    const Connection* x = connection();
    if (!x || id == 0)
        return false;
    constexpr long Remove = 0;
    AskWindowManager(x->display, Window(id), x->wmState,
                     {Remove, long(x->maximizedVert), long(x->maximizedHorz), AsPager});
    AskWindowManager(x->display, Window(id), x->activeWindow, {AsPager, long(x->latestUserTime()), 0, 0});
    XFlush(x->display);
    return WaitUntil(1000, [&] { return x->activeWindowNow() == id && x->hasFocus(Window(id)); });
}

bool X11Desktop::typeText(quint64 window, const QString& text)
{
    Connection* x = connection();
    if (!x || !x->xtest || x->typing || window == 0 || !x->hasFocus(Window(window)))
        return false;
    x->typing = true;
    Display* display = x->display;
    const std::vector<KeySym> keysyms = KeysymsOf(text);
    const Keymap keymap = ReadKeymap(display);

    XkbStateRec state{};
    const bool capsLock = XkbGetState(display, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask);
    if (capsLock)
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);

    // Characters the map lacks go on spare keys, as many at a time as there
    // are spare keys; every change of the map costs each program on the desktop.
    std::unordered_map<KeyCode, KeySym> bound;
    std::size_t sent = 0;
    bool focusLost = false;
    for (std::size_t start = 0; start < keysyms.size();) {
        std::vector<KeySym> wanted;
        std::size_t end = start;
        for (; end < keysyms.size(); ++end) {
            const KeySym keysym = keysyms[end];
            if (keymap.keys.contains(keysym) || std::find(wanted.begin(), wanted.end(), keysym) != wanted.end())
                continue;
            if (wanted.size() == keymap.spare.size())
                break;
            wanted.push_back(keysym);
        }
        if (end == start) { // no spare key at all for this character
            ++start;
            continue;
        }
        // Keys already bound to a character of this batch keep it.
        std::unordered_map<KeySym, KeyCode> batch;
        std::vector<KeyCode> taken;
        for (const auto& [code, keysym] : bound) {
            if (std::find(wanted.begin(), wanted.end(), keysym) != wanted.end()) {
                batch.emplace(keysym, code);
                taken.push_back(code);
            }
        }
        auto free = keymap.spare.begin();
        bool changed = false;
        for (const KeySym keysym : wanted) {
            if (batch.contains(keysym))
                continue;
            while (std::find(taken.begin(), taken.end(), *free) != taken.end())
                ++free;
            Bind(display, *free, keysym);
            bound[*free] = keysym;
            batch.emplace(keysym, *free);
            taken.push_back(*free);
            changed = true;
        }
        if (changed) {
            XSync(display, False);
            Pause(50);
        }
        // Pauses let events run: the user may have moved to another window meanwhile.
        if (!x->hasFocus(Window(window))) {
            focusLost = true;
            break;
        }
        for (std::size_t i = start; i < end; ++i) {
            const auto known = keymap.keys.find(keysyms[i]);
            const Key key = known != keymap.keys.end() ? known->second : Key{batch.at(keysyms[i]), false};
            Strike(display, key, keymap.shift);
            ++sent;
        }
        XSync(display, False);
        // Programs read the keys with the map of the moment they get to them,
        // and a busy one gets to them late: a key unbound too soon is lost.
        if (!bound.empty())
            Pause(BoundKeysHeld);
        start = end;
    }
    for (const auto& [code, keysym] : bound)
        Bind(display, code, NoSymbol);
    if (capsLock)
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
    XSync(display, False);
    x->typing = false;
    return !focusLost && (sent > 0 || keysyms.empty());
}
