#include "platform/editor_control.h"
#include "subsystems/editing/edit_commands.h"
#include "support/scripted_platform.h"

#include <QTest>

class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void selectAllSelectsTheWholeText_data();
    void selectAllSelectsTheWholeText();
    void deleteAllDeletesTheWholeText_data();
    void deleteAllDeletesTheWholeText();
    void cutCopyPasteDelete();
    void clipboardTakesLineFeedsAndCutKeepsTextItCannotPlace();
    void undoTakesBackTheLastEdit();
};

void TestEditCommands::selectAllSelectsTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("abc") << "abc";
    QTest::newRow("one character") << "x";
    QTest::newRow("ends with a line break") << "a\r\nb\r\n";
    QTest::newRow("empty") << "";
}

// Guards against leaving the last character out of the selection.
void TestEditCommands::selectAllSelectsTheWholeText()
{
    QFETCH(QString, text);
    EditorControl editor;
    editor.setText(text);
    editor.setSelectionStart(1);
    EditSelectAll(editor);
    QCOMPARE(editor.selectionStart(), 0);
    QCOMPARE(editor.selectionLength(), text.size());
    QCOMPARE(editor.selectedText(), text);
}

void TestEditCommands::deleteAllDeletesTheWholeText_data()
{
    selectAllSelectsTheWholeText_data();
}

// Guards against Delete All leaving the last character behind.
void TestEditCommands::deleteAllDeletesTheWholeText()
{
    QFETCH(QString, text);
    EditorControl editor;
    editor.setText(text);
    EditDeleteAll(editor);
    QCOMPARE(editor.text(), QString());
    QCOMPARE(editor.isModified(), !text.isEmpty());
}

void TestEditCommands::cutCopyPasteDelete()
{
    EditorControl editor;
    ScriptedPlatform platform;
    editor.setText(QStringLiteral("one two"));
    platform.clipboard = QStringLiteral("before");
    editor.setSelectionStart(2);
    EditorCopy(editor, platform); // nothing selected: the clipboard stays as it was
    QCOMPARE(platform.clipboard, QStringLiteral("before"));
    EditorCut(editor, platform);
    QCOMPARE(editor.text(), QStringLiteral("one two"));
    QVERIFY(!editor.isModified());

    editor.setSelectionStart(4);
    editor.setSelectionLength(3);
    EditorCut(editor, platform);
    QCOMPARE(editor.text(), QStringLiteral("one "));
    QCOMPARE(platform.clipboard, QStringLiteral("two"));
    QVERIFY(editor.isModified());

    editor.setSelectionStart(0);
    editor.setSelectionLength(3);
    EditorPaste(editor, platform); // replaces the selection
    QCOMPARE(editor.text(), QStringLiteral("two "));

    editor.setSelectionStart(0);
    editor.setSelectionLength(4);
    EditorClear(editor);
    QCOMPARE(editor.text(), QString());
    QCOMPARE(platform.clipboard, QStringLiteral("two"));
    editor.setModified(false);
    SetEditorModified(editor);
    QVERIFY(editor.isModified());
}

void TestEditCommands::clipboardTakesLineFeedsAndCutKeepsTextItCannotPlace()
{
    EditorControl editor;
    ScriptedPlatform platform;
    editor.setText(QStringLiteral("a\u00A0\u2028\u00A0\r\nb"));
    EditSelectAll(editor);
    EditorCopy(editor, platform);
    QCOMPARE(platform.clipboard, QStringLiteral("a \n \nb"));

    editor.setText(QStringLiteral("a\r\nb"));

    platform.clipboard = QStringLiteral("x\r\ny\rz");
    editor.setSelectionStart(editor.textLength());
    EditorPaste(editor, platform);
    QCOMPARE(editor.text(), QStringLiteral("a\r\nbx\r\ny\r\nz"));

    platform.clipboard.clear();
    EditSelectAll(editor);
    EditorPaste(editor, platform); // an empty clipboard leaves the selection alone
    QCOMPARE(editor.selectionLength(), editor.textLength());

    platform.clipboardWorks = false;
    EditorCut(editor, platform); // text the clipboard would not take stays in the note
    QCOMPARE(editor.text(), QStringLiteral("a\r\nbx\r\ny\r\nz"));
}

void TestEditCommands::undoTakesBackTheLastEdit()
{
    EditorControl editor;
    editor.setText(QStringLiteral("base"));
    editor.setSelectionStart(4);
    editor.replaceSelection(QStringLiteral("!"));
    EditorUndo(editor);
    QCOMPARE(editor.text(), QStringLiteral("base"));
    EditorUndo(editor); // nothing left to undo: loading a text is no edit
    QCOMPARE(editor.text(), QStringLiteral("base"));
}

QTEST_MAIN(TestEditCommands)
#include "test_edit_commands.moc"
