#include "platform/editor_control.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

class TestEditorControl : public QObject
{
    Q_OBJECT

private slots:
    void presentsCrLfText_data();
    void presentsCrLfText();
    void selectionCountsCrLf_data();
    void selectionCountsCrLf();
    void lineQueries();
    void modificationFlag();
    void ownBindingsNeverTakeReservedKeys();
    void noRedoNoSoftLineBreaks();
    void contextMenuOffersNoRedo();
};

void TestEditorControl::presentsCrLfText_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("presented");

    QTest::newRow("CR LF kept") << "a\r\nb" << "a\r\nb";
    QTest::newRow("lone LF") << "a\nb\n" << "a\r\nb\r\n";
    QTest::newRow("lone CR") << "a\rb" << "a\r\nb";
    QTest::newRow("mixed") << "1\r\n2\n3\r4" << "1\r\n2\r\n3\r\n4";
    QTest::newRow("no-break space survives") << QString::fromUtf8("a\u00a0b") << QString::fromUtf8("a\u00a0b");
    QTest::newRow("empty") << "" << "";
}

void TestEditorControl::presentsCrLfText()
{
    QFETCH(QString, given);
    QFETCH(QString, presented);
    EditorControl editor;
    editor.setText(given);
    QCOMPARE(editor.text(), presented);
    QCOMPARE(editor.textLength(), presented.size());
}

void TestEditorControl::selectionCountsCrLf_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("readStart");
    QTest::addColumn<int>("readLength");

    // "ab\r\ncd\r\nef": a0 b1 CR2 LF3 c4 d5 CR6 LF7 e8 f9
    QTest::newRow("after one line break") << 4 << 2 << "cd" << 4 << 2;
    QTest::newRow("after two line breaks") << 8 << 2 << "ef" << 8 << 2;
    QTest::newRow("across a line break") << 1 << 4 << "b\r\nc" << 1 << 4;
    QTest::newRow("length past the end is cut") << 8 << 50 << "ef" << 8 << 2;
    QTest::newRow("negative length selects nothing") << 5 << -3 << "" << 5 << 0;
    QTest::newRow("start past the end goes to the end") << 99 << 0 << "" << 10 << 0;
    QTest::newRow("start inside CR LF stays before it") << 3 << 0 << "" << 2 << 0;
}

void TestEditorControl::selectionCountsCrLf()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, selected);
    QFETCH(int, readStart);
    QFETCH(int, readLength);
    EditorControl editor;
    editor.setText(QStringLiteral("ab\r\ncd\r\nef"));
    editor.setSelectionStart(start);
    editor.setSelectionLength(length);
    QCOMPARE(editor.selectedText(), selected);
    QCOMPARE(editor.selectionStart(), readStart);
    QCOMPARE(editor.selectionLength(), readLength);
}

void TestEditorControl::lineQueries()
{
    EditorControl editor;
    editor.setText(QStringLiteral("ab\r\n\r\ncd"));
    QCOMPARE(editor.lineCount(), 3);
    QCOMPARE(editor.charFromLine(0), 0);
    QCOMPARE(editor.charFromLine(1), 4);
    QCOMPARE(editor.charFromLine(2), 6);
    QCOMPARE(editor.charFromLine(3), -1);
    QCOMPARE(editor.charFromLine(-1), -1);
    QCOMPARE(editor.lineFromChar(0), 0);
    QCOMPARE(editor.lineFromChar(2), 0); // the CR belongs to its line
    QCOMPARE(editor.lineFromChar(4), 1);
    QCOMPARE(editor.lineFromChar(7), 2);
    QCOMPARE(editor.lineFromChar(8), 2);
}

void TestEditorControl::modificationFlag()
{
    EditorControl editor;
    editor.setText(QStringLiteral("x"));
    QVERIFY(!editor.isModified());
    editor.setSelectionStart(1);
    QTest::keyClicks(&editor, QStringLiteral("y"));
    QVERIFY(editor.isModified());
    editor.setText(QStringLiteral("fresh"));
    QVERIFY(!editor.isModified());
    editor.setModified(true);
    QVERIFY(editor.isModified());
    editor.replaceSelection(QStringLiteral("z\r\nw"));
    QCOMPARE(editor.text(), QStringLiteral("z\r\nwfresh"));
}

void TestEditorControl::ownBindingsNeverTakeReservedKeys()
{
    EditorControl editor;
    editor.setText(QStringLiteral("keep me"));
    editor.setReservedShortcuts({QKeySequence(QStringLiteral("Ctrl+A")), QKeySequence(QStringLiteral("Ctrl+Z"))});
    editor.setSelectionStart(2);
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor.selectionLength(), 0);
    QTest::keyClicks(&editor, QStringLiteral("q"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("keqep me"));
}

void TestEditorControl::noRedoNoSoftLineBreaks()
{
    EditorControl editor;
    editor.setText(QStringLiteral("ab"));
    editor.setSelectionStart(1);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(editor.text(), QStringLiteral("a\r\nb"));
    editor.undo();
    QCOMPARE(editor.text(), QStringLiteral("ab"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor.text(), QStringLiteral("ab"));
}

void TestEditorControl::contextMenuOffersNoRedo()
{
    EditorControl editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), editor.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(editor.viewport(), &event);
    const QList<QMenu*> menus = editor.findChildren<QMenu*>();
    QCOMPARE(menus.size(), 1);
    QStringList names;
    for (const QAction* action : menus[0]->actions())
        names.append(action->objectName());
    QVERIFY(names.contains(QStringLiteral("edit-undo")));
    QVERIFY(!names.contains(QStringLiteral("edit-redo")));
    menus[0]->close();
}

QTEST_MAIN(TestEditorControl)
#include "test_editor_control.moc"
