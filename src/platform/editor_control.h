#pragma once

#include "platform/command_id.h"

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

#include <cstdint>

// Normalizes CR LF, lone CR and lone LF to LF.
QString ToLineFeeds(const QString& text);

// The note editor. The widget holds plain line breaks; this class presents the
// text with CR LF line ends and counts every offset (selection, line starts)
// in that form, so each line break counts as two characters.
class EditorControl : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit EditorControl(QWidget* parent = nullptr);

    QString text() const;
    // Replaces the whole text (any line ends); the modification flag is left clear.
    void setText(const QString& text);
    int textLength() const;

    int selectionStart() const;
    int selectionLength() const;
    QString selectedText() const;
    // The caret moves to offset and nothing is selected.
    void setSelectionStart(int offset);
    // Selects length characters from the selection start, up to the end of the text.
    void setSelectionLength(int length);
    void replaceSelection(const QString& text);
    // Deletes the selection without touching the clipboard.
    void deleteSelection();

    bool isModified() const;
    void setModified(bool modified);

    int lineCount() const;
    // The line (from 0) that holds the character at offset.
    int lineFromChar(int offset) const;
    // Offset of the first character of line, or -1 when there is no such line.
    int charFromLine(int line) const;

    std::int32_t backColorValue() const { return m_backColorValue; }
    void setBackColor(std::int32_t value, const QColor& color);

    // Key sequences that belong to the window's commands: the widget's own
    // bindings never take them over.
    void setReservedShortcuts(const QList<QKeySequence>& shortcuts);

signals:
    // Ctrl+Y went down.
    void deleteLineKeyPressed();
    // The widget's other keys for Cut, Copy and Paste (Shift+Del, Ctrl+Ins,
    // Shift+Ins) and its context menu ask for the program's commands, so
    // every way to the clipboard goes through the same routine.
    void commandRequested(CommandId command);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int toOffset(int position) const;
    int toPosition(int offset) const;
    bool isReserved(const QKeyEvent* event) const;

    QList<QKeySequence> m_reserved;
    std::int32_t m_backColorValue = 0x00FFFFFF;
};
