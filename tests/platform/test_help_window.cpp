#include "platform/accessible_windows.h"
#include "platform/help_window.h"
#include "platform/qt_platform.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace {

QString SourcePages() { return QFileInfo(QFINDTESTDATA("../../resources/help/index.html")).absolutePath(); }

QStringList HtmlPages() { return QDir(SourcePages()).entryList({QStringLiteral("*.html")}); }

// What a page links to within the help; web addresses hold a colon and are left out.
QStringList LocalLinks(const QString& page, QString* title = nullptr)
{
    QFile file(SourcePages() + u'/' + page);
    const QString html = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (title)
        *title = QRegularExpression(QStringLiteral("<title>([^<]*)</title>")).match(html).captured(1).trimmed();
    QStringList links;
    for (const QRegularExpressionMatch& match : QRegularExpression(QStringLiteral("href=\"([^\"#:]+)")).globalMatch(html))
        links.append(match.captured(1));
    return links;
}

void WritePage(const QString& directory, const QString& name, const QString& title, const QString& body)
{
    QDir().mkpath(directory);
    QFile file(directory + u'/' + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>").arg(title, body).toUtf8());
}

// File names in another order than the titles, so the results' order shows which one counts.
void WriteSamplePages(const QString& directory)
{
    WritePage(directory, QStringLiteral("index.html"), QStringLiteral("Contents"), QStringLiteral("<p>Kettle</p>"));
    WritePage(directory, QStringLiteral("a.html"), QStringLiteral("Beta"), QStringLiteral("<table><tr><td>Tea for two</td></tr></table>"));
    WritePage(directory, QStringLiteral("b.html"), QStringLiteral("Alpha"), QStringLiteral("<p>The <b>kettle</b> boils; TEA time, tea.</p>"));
    WritePage(directory, QStringLiteral("c.html"), QStringLiteral("Gamma"), QStringLiteral("<p><span class=\"x\">coffee</span></p>"));
}

QString Shown(const HelpWindow& window) { return window.browser().source().fileName(); }

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void helpDirectory_data();
    void helpDirectory();
    void pageLinks_data();
    void pageLinks();
    void followLinks_data();
    void followLinks();
    void pagesHolding_data();
    void pagesHolding();
    void searchAndShowResults_data();
    void searchAndShowResults();
    void missingPages_data();
    void missingPages();
    void helpOnHelpOpensItsPage();
    void keyboardAlone();
    void pageReadAsDocument();
};

void TestHelpWindow::helpDirectory_data()
{
    QTest::addColumn<QString>("installedPage"); // in share/scriblet/help beside the program's folder
    QTest::addColumn<QString>("userPage");
    QTest::addColumn<QString>("systemPage");
    QTest::addColumn<QString>("found"); // the data folder under the temporary one; empty: none
    QTest::newRow("where it is installed, first") << "index.html" << "index.html" << "index.html" << "prefix/share";
    QTest::newRow("the user's data folder") << "" << "index.html" << "" << "user";
    QTest::newRow("a system data folder") << "" << "" << "index.html" << "system";
    QTest::newRow("the user's before the system's") << "" << "index.html" << "index.html" << "user";
    QTest::newRow("no contents page: passed over") << "files.html" << "files.html" << "files.html" << "";
}

// Only where the program is installed and the data folders count, never the
// folder it was built from.
void TestHelpWindow::helpDirectory()
{
    QFETCH(QString, installedPage);
    QFETCH(QString, userPage);
    QFETCH(QString, systemPage);
    QFETCH(QString, found);
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", (data.path() + QStringLiteral("/user")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (data.path() + QStringLiteral("/system")).toLocal8Bit());
    for (const auto& [page, folder] : {std::pair{installedPage, "/prefix/share"}, {userPage, "/user"}, {systemPage, "/system"}})
        if (!page.isEmpty())
            WritePage(data.path() + QLatin1String(folder) + QStringLiteral("/scriblet/help"), page, QStringLiteral("t"), QString());
    QVERIFY(QDir().mkpath(data.path() + QStringLiteral("/prefix/bin")));
    QCOMPARE(HelpDirectory(data.path() + QStringLiteral("/prefix/bin")),
             found.isEmpty() ? QString() : QDir::cleanPath(data.path() + u'/' + found + QStringLiteral("/scriblet/help")));
}

void TestHelpWindow::pageLinks_data()
{
    QTest::addColumn<QString>("page");
    for (const QString& page : HtmlPages())
        QTest::newRow(qPrintable(page)) << page;
}

void TestHelpWindow::pageLinks()
{
    QFETCH(QString, page);
    QString title;
    const QStringList links = LocalLinks(page, &title);
    QVERIFY(!title.isEmpty());
    for (const QString& link : links)
        QVERIFY2(QFileInfo::exists(SourcePages() + u'/' + link), qPrintable(link));
    // The contents reach every page, and every page leads back to them.
    const bool contents = page == QStringLiteral("index.html");
    for (const QString& other : HtmlPages()) {
        if (other != page && (contents || other == QStringLiteral("index.html")))
            QVERIFY2(links.contains(other), qPrintable(other));
    }
}

void TestHelpWindow::followLinks_data()
{
    QTest::addColumn<QString>("page");
    const QStringList links = LocalLinks(QStringLiteral("index.html"));
    for (const char* page : {"files.html", "editing.html", "stamps.html", "options.html", "stopwatch.html",
                             "printing.html", "tools.html", "keyboard.html", "help-on-help.html"}) {
        QVERIFY2(links.contains(QLatin1String(page)), page);
        QTest::newRow(page) << QString::fromLatin1(page);
    }
}

void TestHelpWindow::followLinks()
{
    QFETCH(QString, page);
    HelpWindow window(SourcePages());
    window.showPage(QStringLiteral("index.html"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Scriblet Help - Contents"));
    QVERIFY(!window.backButton().isEnabled() && !window.forwardButton().isEnabled());

    window.browser().setSource(QUrl(page)); // as a click on the link does, relative to the page shown
    QCOMPARE(Shown(window), page);
    QString title;
    LocalLinks(page, &title);
    QCOMPARE(window.windowTitle(), QStringLiteral("Scriblet Help - ") + title);
    QVERIFY(window.backButton().isEnabled() && !window.forwardButton().isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(Shown(window), QStringLiteral("index.html")); // a shortcut clicks the button after a flash
    QVERIFY(!window.backButton().isEnabled() && window.forwardButton().isEnabled());
    QTest::mouseClick(&window.forwardButton(), Qt::LeftButton);
    QCOMPARE(Shown(window), page);
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("contents")), Qt::LeftButton);
    QCOMPARE(Shown(window), QStringLiteral("index.html"));
}

void TestHelpWindow::pagesHolding_data()
{
    QTest::addColumn<bool>("sources");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("one page only") << false << "coffee" << QStringList{"c.html"};
    QTest::newRow("several, contents first") << false << "kettle" << QStringList{"index.html", "b.html"};
    QTest::newRow("any letter case, by title") << false << "tEa" << QStringList{"b.html", "a.html"};
    QTest::newRow("across markup") << false << "kettle boils" << QStringList{"b.html"};
    QTest::newRow("blanks around the word") << false << " coffee " << QStringList{"c.html"};
    QTest::newRow("only in markup") << false << "span" << QStringList{};
    QTest::newRow("in no page") << false << "zebra" << QStringList{};
    QTest::newRow("empty") << false << "" << QStringList{};
    QTest::newRow("blank") << false << "   " << QStringList{};
    QTest::newRow("the program's pages") << true << "KCALC" << QStringList{"tools.html"};
}

void TestHelpWindow::pagesHolding()
{
    QFETCH(bool, sources);
    QFETCH(QString, word);
    QFETCH(QStringList, pages);
    const QTemporaryDir samples;
    WriteSamplePages(samples.path());
    QCOMPARE(HelpWindow(sources ? SourcePages() : samples.path()).pagesHolding(word), pages);
}

void TestHelpWindow::searchAndShowResults_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("two pages") << "tea" << QStringList{"Alpha", "Beta"};
    QTest::newRow("contents and another") << "KETTLE" << QStringList{"Contents", "Alpha"};
    QTest::newRow("none") << "zebra" << QStringList{"No Page Holds \"zebra\"."};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestHelpWindow::searchAndShowResults()
{
    QFETCH(QString, word);
    QFETCH(QStringList, shown);
    const QTemporaryDir samples;
    WriteSamplePages(samples.path());
    HelpWindow window(samples.path());
    window.showPage(QStringLiteral("c.html"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClicks(&window.searchBox(), word);
    QTest::keyClick(&window.searchBox(), Qt::Key_Return);

    QListWidget& results = window.results();
    QStringList titles;
    for (int row = 0; row < results.count(); ++row)
        titles.append(results.item(row)->text());
    QCOMPARE(titles, shown);
    // Each twice: a page shown again selects its first place again, not the next.
    for (int click = 0; click < results.count() * 2; ++click) {
        QListWidgetItem* item = results.item(click / 2);
        QTest::mouseClick(results.viewport(), Qt::LeftButton, {}, results.visualItemRect(item).center());
        if (!(item->flags() & Qt::ItemIsEnabled)) {
            QCOMPARE(Shown(window), QStringLiteral("c.html"));
            continue;
        }
        QCOMPARE(window.windowTitle(), QStringLiteral("Scriblet Help - ") + item->text());
        const QTextCursor found = window.browser().textCursor();
        QCOMPARE(found.selectedText().toLower(), word.toLower());
        QString before;
        for (int position = 0; position < found.selectionStart(); ++position)
            before += window.browser().document()->characterAt(position);
        QVERIFY2(!before.contains(word, Qt::CaseInsensitive), qPrintable(before));
    }
}

void TestHelpWindow::missingPages_data()
{
    QTest::addColumn<bool>("withDirectory");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("results");
    QTest::newRow("no help directory") << false << "index.html" << "The Help Pages Were Not Found." << 1;
    QTest::newRow("no such page") << true << "gone.html" << "The Help Page gone.html Was Not Found" << 2;
}

void TestHelpWindow::missingPages()
{
    QFETCH(bool, withDirectory);
    QFETCH(QString, page);
    QFETCH(QString, message);
    QFETCH(int, results);
    const QTemporaryDir samples;
    WriteSamplePages(samples.path());
    HelpWindow window(withDirectory ? samples.path() : QString());
    window.showPage(QStringLiteral("index.html"));
    window.showPage(page);
    QVERIFY2(window.browser().toPlainText().contains(message), qPrintable(window.browser().toPlainText()));
    QCOMPARE(window.windowTitle(), QStringLiteral("Scriblet Help"));
    window.searchBox().setText(QStringLiteral("kettle"));
    QTest::keyClick(&window.searchBox(), Qt::Key_Return);
    QCOMPARE(window.results().count(), results); // without pages, only the line saying none holds it
}

void TestHelpWindow::helpOnHelpOpensItsPage()
{
    QtPlatform platform;
    platform.showHelp(HelpBook::HelpOnHelp);
    HelpWindow bare{QString()}; // no pages installed
    bare.showPage(QStringLiteral("help-on-help.html"));
    const auto usingHelp = [](const QWidget* window) { return window->windowTitle() == "Scriblet Help - Using Help"; };
    QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(), usingHelp), 2);
}

// Tab goes through the page's links and on to Search and the buttons;
// Ctrl+F goes to Search; Esc closes the window, a window to screen readers too.
void TestHelpWindow::keyboardAlone()
{
    AnnounceOwnWindowsAsWindows(); // as the program does before its first window
    QTemporaryDir samples;
    WritePage(samples.path(), QStringLiteral("index.html"), QStringLiteral("Contents"),
              QStringLiteral("<a href=\"a.html\">A</a> and <a href=\"b.html\">B</a>"));
    HelpWindow window(samples.path());
    window.showPage(QStringLiteral("index.html"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
    window.browser().setFocus();
    QStringList visited;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget() == &window.browser() ? window.browser().textCursor().selectedText()
                                                                         : QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, (QStringList{"A", "B", "search", "contents"}));
    for (int press = 0; press < 3; ++press) // to Search, into the page, to its last link
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(window.browser().textCursor().selectedText(), QStringLiteral("B"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), &window.searchBox());
    QTest::keyClick(&window.searchBox(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

// Read as a document: its text, as lines shown that together are the text, a
// caret the arrow keys move, and the link Tab selects, which a screen reader reads out.
void TestHelpWindow::pageReadAsDocument()
{
    const QTemporaryDir samples;
    WritePage(samples.path(), QStringLiteral("index.html"), QStringLiteral("Contents"),
              QStringLiteral("<p>First</p><p>%1 <a href=\"a.html\">Alpha Page</a></p>")
                  .arg(QStringLiteral("Every word of this paragraph is read. ").repeated(6)));
    HelpWindow window(samples.path());
    window.resize(260, 400);
    window.showPage(QStringLiteral("index.html"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QAccessible::queryAccessibleInterface(&window.browser())->role(), QAccessible::Document);
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&window.browser())->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), window.browser().toPlainText());
    QString joined;
    int lines = 0;
    for (int offset = 0, start = 0, end = 0; offset < text->characterCount(); offset = end, ++lines) {
        joined += text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        QVERIFY(start == offset && end > start);
    }
    QCOMPARE(joined, window.browser().toPlainText());
    QCOMPARE_GE(lines, 5); // the long paragraph wrapped
    window.browser().setFocus();
    QTest::keyClick(&window.browser(), Qt::Key_Down);
    QCOMPARE(text->cursorPosition(), 6);
    QTest::keyClick(&window.browser(), Qt::Key_Tab);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(text->text(start, end), QStringLiteral("Alpha Page"));
}

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
