#include "platform/editor_control.h"

#include "platform/classic_look.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>

#include <algorithm>
#include <optional>

namespace {

constexpr QChar ParagraphSeparator(0x2029);

bool IsExactlyCtrl(const QKeyEvent* event)
{
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

} // namespace

QString ToLineFeeds(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(u'\r', u'\n');
    return result;
}

EditorControl::EditorControl(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString EditorControl::text() const
{
    QString raw = document()->toRawText();
    raw.replace(ParagraphSeparator, QStringLiteral("\r\n"));
    return raw;
}

void EditorControl::setText(const QString& text)
{
    setPlainText(ToLineFeeds(text));
    document()->setModified(false);
}

int EditorControl::textLength() const
{
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

int EditorControl::selectionStart() const { return toOffset(textCursor().selectionStart()); }

int EditorControl::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return toOffset(cursor.selectionEnd()) - toOffset(cursor.selectionStart());
}

QString EditorControl::selectedText() const
{
    QString selected = textCursor().selectedText();
    selected.replace(ParagraphSeparator, QStringLiteral("\r\n"));
    return selected;
}

void EditorControl::setSelectionStart(int offset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toPosition(offset));
    setTextCursor(cursor);
}

void EditorControl::setSelectionLength(int length)
{
    const int start = selectionStart();
    const int end = std::clamp(start + std::max(length, 0), start, textLength());
    QTextCursor cursor = textCursor();
    cursor.setPosition(toPosition(start));
    cursor.setPosition(toPosition(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditorControl::replaceSelection(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(ToLineFeeds(text));
    setTextCursor(cursor);
}

void EditorControl::deleteSelection()
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
}

bool EditorControl::isModified() const { return document()->isModified(); }

void EditorControl::setModified(bool modified) { document()->setModified(modified); }

int EditorControl::lineCount() const { return document()->blockCount(); }

int EditorControl::lineFromChar(int offset) const { return document()->findBlock(toPosition(offset)).blockNumber(); }

int EditorControl::charFromLine(int line) const
{
    if (line < 0 || line >= lineCount())
        return -1;
    return document()->findBlockByNumber(line).position() + line;
}

void EditorControl::setBackColor(std::int32_t value, const QColor& color)
{
    m_backColorValue = value;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    // Never the theme's text colour, which may be the background's own.
    colours.setColor(QPalette::Text, ReadableTextOn(color));
    setPalette(colours);
}

void EditorControl::setReservedShortcuts(const QList<QKeySequence>& shortcuts) { m_reserved = shortcuts; }

namespace {

std::optional<CommandId> ClipboardCommandFor(const QKeyEvent& event)
{
    if (event.matches(QKeySequence::Cut))
        return CommandId::EditCut;
    if (event.matches(QKeySequence::Copy))
        return CommandId::EditCopy;
    if (event.matches(QKeySequence::Paste))
        return CommandId::EditPaste;
    return std::nullopt;
}

} // namespace

bool EditorControl::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isReserved(static_cast<QKeyEvent*>(event))) {
        // Left unaccepted, the key goes to the window's shortcut.
        event->ignore();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void EditorControl::keyPressEvent(QKeyEvent* event)
{
    // Tab belongs to the note; Ctrl+Tab leaves it, as in other desktop editors.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        && (event->modifiers() & Qt::ControlModifier)) {
        // The text widget's own override refuses to move while it is editable.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Y && IsExactlyCtrl(event)) {
        emit deleteLineKeyPressed();
        event->accept();
        return;
    }
    if (isReserved(event) || event->matches(QKeySequence::Redo) || event->matches(QKeySequence::DeleteEndOfLine)
        || event->matches(QKeySequence::DeleteCompleteLine)) {
        event->ignore();
        return;
    }
    if (const std::optional<CommandId> command = ClipboardCommandFor(*event)) {
        emit commandRequested(*command);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        // A line break is a line break; the widget would insert a soft one.
        replaceSelection(QStringLiteral("\n"));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditorControl::contextMenuEvent(QContextMenuEvent* event)
{
    // The program has no redo; its menu must not offer one either.
    QMenu* menu = createStandardContextMenu(event->pos());
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QStringLiteral("edit-redo")) {
            menu->removeAction(action);
            continue;
        }
        const std::optional<CommandId> command = name == QStringLiteral("edit-cut")     ? CommandId::EditCut
                                                 : name == QStringLiteral("edit-copy")  ? CommandId::EditCopy
                                                 : name == QStringLiteral("edit-paste") ? CommandId::EditPaste
                                                                                        : std::optional<CommandId>();
        if (command) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this, id = *command] { emit commandRequested(id); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

int EditorControl::toOffset(int position) const { return position + document()->findBlock(position).blockNumber(); }

int EditorControl::toPosition(int offset) const
{
    const QTextDocument* doc = document();
    offset = std::clamp(offset, 0, textLength());
    // The last line whose CR LF offset is not beyond offset.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (doc->findBlockByNumber(middle).position() + middle <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int withinLine = std::min(offset - (block.position() + low), block.length() - 1);
    return block.position() + withinLine;
}

bool EditorControl::isReserved(const QKeyEvent* event) const
{
    const QKeySequence pressed(event->keyCombination());
    return std::any_of(m_reserved.cbegin(), m_reserved.cend(),
                       [&pressed](const QKeySequence& reserved) { return reserved == pressed; });
}
