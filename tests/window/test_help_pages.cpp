#include "window/button_bar.h"
#include "window/menu_tree.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

// The rows of the keyboard page's tables, as the text of their cells.
QList<QStringList> KeyboardPageRows()
{
    QFile file(QFINDTESTDATA("../../resources/help/keyboard.html"));
    const QString html = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression cell(QStringLiteral("<t[dh]>(.*?)</t[dh]>"), QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> rows;
    for (const QRegularExpressionMatch& r : row.globalMatch(html)) {
        QStringList cells;
        for (const QRegularExpressionMatch& c : cell.globalMatch(r.captured(1)))
            cells.append(c.captured(1).replace(QStringLiteral("&gt;"), QStringLiteral(">")).simplified());
        rows.append(cells);
    }
    return rows;
}

QString Shown(const char* caption) { return QString::fromLatin1(caption).remove(u'&'); }

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT

private slots:
    void keyboardPageListsEveryShortcut_data();
    void keyboardPageListsEveryShortcut();
};

void TestHelpPages::keyboardPageListsEveryShortcut_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("caption");
    for (const MenuEntry& menu : MainMenuTree()) {
        // The Button Shortcuts menu lists the bar's buttons in their order.
        const bool bar = QByteArray(menu.name) == "DateStamps";
        QVERIFY(!bar || menu.items.size() == std::size_t(BarButtonCount));
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const MenuItemEntry& item = menu.items[i];
            if (*item.shortcut)
                QTest::addRow("%s %s", menu.name, item.shortcut)
                    << (bar ? QString::fromLatin1(BarButtons[i].caption) : QString())
                    << QString::fromLatin1(item.shortcut) << Shown(item.caption);
        }
    }
    QTest::newRow("the editor's own key") << QString() << "Ctrl+Y" << "deletes the line";
}

void TestHelpPages::keyboardPageListsEveryShortcut()
{
    QFETCH(QString, button);
    QFETCH(QString, keys);
    QFETCH(QString, caption);
    const QList<QStringList> rows = KeyboardPageRows();
    const bool listed = std::any_of(rows.cbegin(), rows.cend(), [&](const QStringList& cells) {
        return cells.contains(keys) && (button.isEmpty() || cells.first() == button)
            && std::any_of(cells.cbegin(), cells.cend(), [&](const QString& text) { return text.contains(caption); });
    });
    QVERIFY2(listed, "no row of the keyboard page names the key, the item and the button together");
}

QTEST_MAIN(TestHelpPages)
#include "test_help_pages.moc"
