// Runs under a real X server with openbox (support/with_x_server.sh): the
// window manager's client list, its activation and real keystrokes.
#include "platform/qt_platform.h"
#include "platform/x11_desktop.h"
#include "support/window_manager_wait.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

Display* QtDisplay() { return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display(); }

DesktopWindow Listed(X11Desktop& desktop, quint64 id)
{
    for (const DesktopWindow& window : desktop.windows()) {
        if (window.id == id)
            return window;
    }
    return {};
}

bool CapsLockOn()
{
    XkbStateRec state{};
    XkbGetState(QtDisplay(), XkbUseCoreKbd, &state);
    return state.locked_mods & LockMask;
}

void PressCapsLock()
{
    const KeyCode key = XKeysymToKeycode(QtDisplay(), XK_Caps_Lock);
    XTestFakeKeyEvent(QtDisplay(), key, True, CurrentTime);
    XTestFakeKeyEvent(QtDisplay(), key, False, CurrentTime);
    XSync(QtDisplay(), False);
}

QList<KeySym> KeyboardMap()
{
    int first = 0;
    int last = 0;
    int width = 0;
    XDisplayKeycodes(QtDisplay(), &first, &last);
    KeySym* map = XGetKeyboardMapping(QtDisplay(), KeyCode(first), last - first + 1, &width);
    QList<KeySym> copy(map, map + (last - first + 1) * width);
    XFree(map);
    return copy;
}

// A window of another program: made through Xlib, unknown to Qt, with only an old-style WM_NAME.
struct ForeignWindow
{
    ForeignWindow(const QString& title, bool compoundText, Window owner)
        : id(XCreateSimpleWindow(QtDisplay(), DefaultRootWindow(QtDisplay()), 0, 0, 200, 100, 0, 0, 0))
    {
        QByteArray utf8 = title.toUtf8();
        char* list[] = {utf8.data()};
        XTextProperty name{};
        Xutf8TextListToTextProperty(QtDisplay(), list, 1, compoundText ? XCompoundTextStyle : XStringStyle, &name);
        XSetWMName(QtDisplay(), id, &name);
        XFree(name.value);
        if (owner)
            XSetTransientForHint(QtDisplay(), id, owner);
        XMapWindow(QtDisplay(), id);
        XSync(QtDisplay(), False);
    }
    ~ForeignWindow()
    {
        XDestroyWindow(QtDisplay(), id);
        XFlush(QtDisplay());
    }
    Window id;
};

} // namespace

class TestX11Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(X11Desktop().available()); }
    void init() { QVERIFY2(WaitForWindowManager(60000), "openbox did not catch up within 60 s"); }
    void windowsAreListedWithTitleOwnerAndOrigin_data();
    void windowsAreListedWithTitleOwnerAndOrigin();
    void activateRestoresRaisesAndFocuses_data();
    void activateRestoresRaisesAndFocuses();
    void activateFailsWithoutTheWindow();
    void typedTextArrivesAsWritten_data();
    void typedTextArrivesAsWritten();
    void keysGoOnlyToTheWindowWithTheFocus();
    void classAndProcessAreListed();
};

void TestX11Desktop::windowsAreListedWithTitleOwnerAndOrigin_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("ours");
    QTest::newRow("top-level widget") << "widget" << "Calculator Test" << false << true;
    QTest::newRow("dialog with a parent") << "dialog" << "Find – ü" << true << true;
    QTest::newRow("dialog without a parent") << "lone dialog" << "Options" << true << true;
    QTest::newRow("foreign, Latin-1 WM_NAME") << "foreign" << "Café crème" << false << false;
    QTest::newRow("foreign, compound text WM_NAME") << "foreign compound" << "Ελληνικά café" << false << false;
    QTest::newRow("foreign, transient") << "foreign owned" << "Save As" << true << false;
}

void TestX11Desktop::windowsAreListedWithTitleOwnerAndOrigin()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(bool, owned);
    QFETCH(bool, ours);
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    std::unique_ptr<QWidget> widget;
    std::unique_ptr<ForeignWindow> foreign;
    if (kind.startsWith("foreign")) {
        foreign = std::make_unique<ForeignWindow>(title, kind.endsWith("compound"),
                                                  kind.endsWith("owned") ? owner.winId() : 0);
    } else {
        widget.reset(kind == "widget" ? new QWidget : new QDialog(kind == "dialog" ? &owner : nullptr));
        widget->setWindowTitle(title);
        widget->show();
    }
    const quint64 id = foreign ? foreign->id : widget->winId();
    X11Desktop desktop;
    QTRY_COMPARE(Listed(desktop, id).title, title);
    QCOMPARE(Listed(desktop, id).owned, owned);
    QCOMPARE(Listed(desktop, id).ours, ours);
    QVERIFY(Listed(desktop, owner.winId()).ours);
}

void TestX11Desktop::activateRestoresRaisesAndFocuses_data()
{
    QTest::addColumn<bool>("minimized");
    QTest::newRow("minimized") << true;
    QTest::newRow("behind another window") << false;
}

void TestX11Desktop::activateRestoresRaisesAndFocuses()
{
    QFETCH(bool, minimized);
    QWidget target;
    target.setWindowTitle(QStringLiteral("Calculator Test"));
    QWidget cover;
    for (QWidget* window : {&target, &cover}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    X11Desktop desktop;
    QVERIFY(desktop.activate(cover.winId()));
    QTRY_VERIFY(cover.isActiveWindow());
    if (minimized) {
        // Through the window manager, as a user would: Qt's own showMinimized() marks the
        // widget at once and would miss a restore that came before the window manager's word.
        XIconifyWindow(QtDisplay(), target.winId(), DefaultScreen(QtDisplay()));
        XFlush(QtDisplay());
        QTRY_VERIFY(target.isMinimized());
    }
    QCOMPARE(desktop.windows().first().id, cover.winId());
    QVERIFY(desktop.activate(target.winId()));
    QTRY_VERIFY(target.isActiveWindow());
    QTRY_VERIFY(!target.isMinimized());
    QCOMPARE(desktop.windows().first().id, target.winId());
}

void TestX11Desktop::activateFailsWithoutTheWindow()
{
    quint64 gone = 0;
    {
        QWidget closed;
        closed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&closed));
        gone = closed.winId();
    }
    X11Desktop desktop;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!desktop.activate(gone));
    QVERIFY(!desktop.activate(0));
    QCOMPARE_LT(clock.elapsed(), 3000);
}

void TestX11Desktop::typedTextArrivesAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("capsLock");
    const QString shifted = QStringLiteral("a+b^c%d~e(f)g{h}i[j]k");
    QTest::newRow("shifted and unshifted keys") << shifted << shifted << false;
    QTest::newRow("Latin-1 off the keyboard map") << "é ü ß" << "é ü ß" << false;
    QTest::newRow("capitals off the map") << "ÉÜ Ñ" << "ÉÜ Ñ" << false;
    QTest::newRow("beyond Latin-1") << "€ – „ok“ ✓" << "€ – „ok“ ✓" << false;
    QTest::newRow("mixed case") << "UPPER lower" << "UPPER lower" << false;
    QTest::newRow("caps lock on, mixed case") << "UPPER lower" << "UPPER lower" << true;
    QTest::newRow("caps lock on, off the map") << "é É ñ" << "é É ñ" << true;
    QTest::newRow("CR LF") << "one\r\ntwo" << "one\ntwo" << false;
    QTest::newRow("lone CR") << "one\rtwo" << "one\ntwo" << false;
    QTest::newRow("lone LF") << "one\ntwo" << "one\ntwo" << false;
    QTest::newRow("CR, then CR LF") << "one\r\r\ntwo" << "one\n\ntwo" << false;
    QTest::newRow("tab") << "one\ttwo" << "one\ttwo" << false;
    // More characters off the map than spare keys: several rounds, the first letter again in the last.
    const QString many = QStringLiteral("αβγδεζηθικλμνξοπρστυφχψω абвгдежзийклмнопрстуфхцчшщ α");
    QTest::newRow("more than the spare keys") << many << many << false;
    QTest::newRow("empty") << "" << "" << false;
}

void TestX11Desktop::typedTextArrivesAsWritten()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(bool, capsLock);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Notepad Test"));
    auto* editor = new QPlainTextEdit(&window);
    (new QVBoxLayout(&window))->addWidget(editor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    X11Desktop desktop;
    QVERIFY(desktop.activate(window.winId()));
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    if (capsLock)
        PressCapsLock();
    QCOMPARE(CapsLockOn(), capsLock);
    const QList<KeySym> map = KeyboardMap();
    const bool typed = desktop.typeText(window.winId(), text);
    const bool capsLockAfter = CapsLockOn();
    if (capsLockAfter)
        PressCapsLock();
    QVERIFY(typed);
    QCOMPARE(capsLockAfter, capsLock);
    QTRY_COMPARE(editor->toPlainText(), expected);
    QTest::qWait(100);
    QCOMPARE(editor->toPlainText(), expected);
    QCOMPARE(KeyboardMap(), map);
}

void TestX11Desktop::keysGoOnlyToTheWindowWithTheFocus()
{
    QPlainTextEdit aimed;
    QPlainTextEdit focused;
    aimed.show();
    focused.show();
    QVERIFY(QTest::qWaitForWindowExposed(&aimed) && QTest::qWaitForWindowExposed(&focused));
    X11Desktop desktop;
    QVERIFY(desktop.activate(focused.winId()));
    focused.setFocus();
    QTRY_VERIFY(focused.hasFocus());
    QVERIFY(!desktop.typeText(aimed.winId(), QStringLiteral("call 555")));
    QVERIFY(desktop.typeText(focused.winId(), QStringLiteral("ok")));
    QTRY_COMPARE(focused.toPlainText(), QStringLiteral("ok"));
    // The user moves on between two rounds of keys (more characters off the map than spare keys).
    QVERIFY(desktop.activate(aimed.winId()));
    QTRY_VERIFY(aimed.hasFocus());
    const QString text = QStringLiteral("αβγδεζηθικλμνξοπρστυφχψω абвгдежзийклмнопрстуфхцчшщ");
    QTimer::singleShot(300, &focused, [&] { desktop.activate(focused.winId()); });
    QVERIFY(!desktop.typeText(aimed.winId(), text));
    QTest::qWait(300);
    QVERIFY(!aimed.toPlainText().isEmpty() && text.startsWith(aimed.toPlainText()) && aimed.toPlainText() != text);
    QCOMPARE(focused.toPlainText(), QStringLiteral("ok"));
}

// A process number counts only from a window of this machine; its program is found through links.
void TestX11Desktop::classAndProcessAreListed()
{
    const QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("linphone"));
    QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), link));
    ForeignWindow foreign(QStringLiteral("Calls - shell"), false, 0);
    XClassHint hint{const_cast<char*>("xterm"), const_cast<char*>("XTerm")};
    XSetClassHint(QtDisplay(), foreign.id, &hint);
    const unsigned long pid = QCoreApplication::applicationPid();
    XChangeProperty(QtDisplay(), foreign.id, XInternAtom(QtDisplay(), "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    X11Desktop desktop;
    for (QByteArray machine : {QSysInfo::machineHostName().toLocal8Bit(), QByteArray("elsewhere.example")}) {
        XTextProperty host{reinterpret_cast<unsigned char*>(machine.data()), XA_STRING, 8, static_cast<unsigned long>(machine.size())};
        XSetWMClientMachine(QtDisplay(), foreign.id, &host);
        XSync(QtDisplay(), False);
        QTRY_COMPARE(Listed(desktop, foreign.id).wmClass, QStringList({"xterm", "XTerm"}));
        const bool here = machine == QSysInfo::machineHostName().toLocal8Bit();
        QCOMPARE(Listed(desktop, foreign.id).pid, here ? qint64(pid) : 0);
        QCOMPARE(QtPlatform().windowRunsProgram(Listed(desktop, foreign.id), link), here);
    }
}

QTEST_MAIN(TestX11Desktop)
#include "test_x11_desktop.moc"
