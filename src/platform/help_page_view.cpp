#include "platform/help_page_view.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {

void TellSelection(HelpPageView* page)
{
    const QTextCursor cursor = page->textCursor();
    QAccessibleTextSelectionEvent event(page, cursor.selectionStart(), cursor.selectionEnd());
    QAccessible::updateAccessibility(&event);
}

// Offsets are positions in the page's document, whose plain text has one
// character for each of them.
class AccessibleHelpPageView : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleHelpPageView(HelpPageView* page)
        : QAccessibleWidget(page, QAccessible::Document)
    {
        QObject::connect(page, &QTextEdit::selectionChanged, page, [page] { TellSelection(page); });
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int index, int* start, int* end) const override
    {
        const QTextCursor cursor = page()->textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *start = selected ? cursor.selectionStart() : 0;
        *end = selected ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return page()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { select(start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            select(cursorPosition(), cursorPosition());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            select(start, end);
    }

    int cursorPosition() const override { return page()->textCursor().position(); }
    void setCursorPosition(int position) override { select(position, position); }

    QString text(int start, int end) const override
    {
        const QString all = page()->document()->toPlainText();
        start = std::clamp(start, 0, int(all.size()));
        end = end < 0 ? int(all.size()) : std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }

    // Lines as the page shows them, so that reading line by line follows the
    // caret's Up and Down; each line holds the blank or break that ends it.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
        std::tie(*start, *end) = lineAround(offset == -2 ? cursorPosition() : offset);
        return text(*start, *end);
    }

    int characterCount() const override { return page()->document()->characterCount() - 1; }

    QRect characterRect(int offset) const override
    {
        QRect rect = page()->cursorRect(cursorAt(offset));
        const QRect next = page()->cursorRect(cursorAt(offset + 1));
        if (next.top() == rect.top() && next.left() > rect.left())
            rect.setRight(next.left() - 1);
        return {page()->viewport()->mapToGlobal(rect.topLeft()), rect.size()};
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint inside = page()->viewport()->mapFromGlobal(point);
        return page()->viewport()->rect().contains(inside) ? page()->cursorForPosition(inside).position() : -1;
    }

    void scrollToSubstring(int start, int) override
    {
        const QRect rect = page()->cursorRect(cursorAt(start));
        if (!page()->viewport()->rect().contains(rect))
            page()->verticalScrollBar()->setValue(page()->verticalScrollBar()->value() + rect.top());
    }

    // The page's fonts and colours are not told: one run without attributes.
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    HelpPageView* page() const { return static_cast<HelpPageView*>(widget()); }

    QTextCursor cursorAt(int offset) const
    {
        QTextCursor cursor(page()->document());
        cursor.setPosition(std::clamp(offset, 0, characterCount()));
        return cursor;
    }

    void select(int start, int end)
    {
        QTextCursor cursor = cursorAt(start);
        cursor.setPosition(cursorAt(end).position(), QTextCursor::KeepAnchor);
        page()->setTextCursor(cursor);
    }

    // A paragraph not laid out yet counts as one line.
    std::pair<int, int> lineAround(int offset) const
    {
        const QTextBlock block = cursorAt(offset).block();
        const int blockStart = block.position();
        const int blockEnd = std::min(blockStart + block.length(), characterCount());
        const QTextLayout* layout = block.layout();
        const QTextLine line = layout ? layout->lineForTextPosition(cursorAt(offset).position() - blockStart) : QTextLine();
        if (!line.isValid())
            return {blockStart, blockEnd};
        const int start = blockStart + line.textStart();
        const bool lastLine = line.lineNumber() + 1 == layout->lineCount();
        return {start, lastLine ? blockEnd : start + line.textLength()};
    }
};

QAccessibleInterface* DocumentOfHelpPageView(const QString& className, QObject* object)
{
    auto* page = qobject_cast<HelpPageView*>(object);
    return page && className == QStringLiteral("HelpPageView") ? new AccessibleHelpPageView(page) : nullptr;
}

} // namespace

HelpPageView::HelpPageView(QWidget* parent)
    : QTextBrowser(parent)
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(DocumentOfHelpPageView);
    // A caret the arrow keys move lets a screen reader read the page line by line.
    setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
}

// Qt selects the next link without a signal: the selection, the link's text,
// is what a screen reader is to read out.
bool HelpPageView::focusNextPrevChild(bool next)
{
    const bool moved = QTextBrowser::focusNextPrevChild(next);
    if (moved && hasFocus() && textCursor().hasSelection()) {
        TellSelection(this);
        QAccessibleTextCursorEvent caret(this, textCursor().position());
        QAccessible::updateAccessibility(&caret);
    }
    return moved;
}
