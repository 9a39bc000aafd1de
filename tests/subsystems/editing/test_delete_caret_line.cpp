#include "platform/editor_control.h"
#include "subsystems/editing/delete_caret_line.h"

#include <QTest>

class TestDeleteCaretLine : public QObject
{
    Q_OBJECT

private slots:
    void deletesTheCaretLine_data();
    void deletesTheCaretLine();
    void onlyExactlyCtrlYDeletes_data();
    void onlyExactlyCtrlYDeletes();
};

void TestDeleteCaretLine::deletesTheCaretLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caret");

    const QString three = QStringLiteral("one\r\ntwo\r\nthree");
    QTest::newRow("first line") << three << 2 << 0 << "two\r\nthree" << 0;
    QTest::newRow("middle line") << three << 6 << 0 << "one\r\nthree" << 5;
    QTest::newRow("caret at the start of the middle line") << three << 5 << 0 << "one\r\nthree" << 5;
    QTest::newRow("last line deletes to the end") << three << 12 << 0 << "one\r\ntwo\r\n" << 10;
    QTest::newRow("selection start decides the line") << three << 1 << 7 << "two\r\nthree" << 0;
    QTest::newRow("only line") << "alone" << 3 << 0 << "" << 0;
    QTest::newRow("empty line in the middle") << "a\r\n\r\nb" << 3 << 0 << "a\r\nb" << 3;
    QTest::newRow("empty text") << "" << 0 << 0 << "" << 0;
}

void TestDeleteCaretLine::deletesTheCaretLine()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, after);
    QFETCH(int, caret);

    EditorControl editor;
    editor.setText(text);
    editor.setSelectionStart(selStart);
    editor.setSelectionLength(selLength);
    DeleteCaretLine(editor);
    QCOMPARE(editor.text(), after);
    QCOMPARE(editor.selectionStart(), caret);
    QCOMPARE(editor.selectionLength(), 0);
    QCOMPARE(editor.isModified(), text != after);
}

void TestDeleteCaretLine::onlyExactlyCtrlYDeletes_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("deletes");

    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+Y") << ctrl << true;
    QTest::newRow("Ctrl+Shift+Y") << int(ctrl | Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Alt+Y") << int(ctrl | Qt::AltModifier) << false;
    QTest::newRow("Ctrl+Y on the keypad modifier") << int(ctrl | Qt::KeypadModifier) << true;
}

void TestDeleteCaretLine::onlyExactlyCtrlYDeletes()
{
    QFETCH(int, modifiers);
    QFETCH(bool, deletes);

    EditorControl editor;
    QObject::connect(&editor, &EditorControl::deleteLineKeyPressed, &editor, [&editor] { DeleteCaretLine(editor); });
    editor.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    editor.setSelectionStart(1);
    QTest::keyClick(&editor, Qt::Key_Y, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(editor.lineCount(), deletes ? 2 : 3);
    QCOMPARE(editor.text().startsWith(QStringLiteral("two")), deletes);
}

QTEST_MAIN(TestDeleteCaretLine)
#include "test_delete_caret_line.moc"
