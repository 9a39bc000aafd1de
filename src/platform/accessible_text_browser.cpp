#include "platform/accessible_text_browser.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {

// Offsets are positions in the browser's document, whose plain text has one
// character for each of them.
class AccessibleTextBrowser : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleTextBrowser(QTextBrowser* browser)
        : QAccessibleWidget(browser, QAccessible::Document)
    {
        // Tab selects the next link: the selection is what a screen reader reads out.
        QObject::connect(browser, &QTextEdit::selectionChanged, browser, [browser] {
            const QTextCursor cursor = browser->textCursor();
            QAccessibleTextSelectionEvent event(browser, cursor.selectionStart(), cursor.selectionEnd());
            QAccessible::updateAccessibility(&event);
        });
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
        const QTextCursor cursor = browser()->textCursor();
        const bool selected = index == 0 && cursor.hasSelection();
        *start = selected ? cursor.selectionStart() : 0;
        *end = selected ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
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

    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { select(position, position); }

    QString text(int start, int end) const override
    {
        const QString all = browser()->document()->toPlainText();
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

    int characterCount() const override { return browser()->document()->characterCount() - 1; }

    QRect characterRect(int offset) const override
    {
        QRect rect = browser()->cursorRect(cursorAt(offset));
        const QRect next = browser()->cursorRect(cursorAt(offset + 1));
        if (next.top() == rect.top() && next.left() > rect.left())
            rect.setRight(next.left() - 1);
        return {browser()->viewport()->mapToGlobal(rect.topLeft()), rect.size()};
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint inside = browser()->viewport()->mapFromGlobal(point);
        return browser()->viewport()->rect().contains(inside) ? browser()->cursorForPosition(inside).position() : -1;
    }

    void scrollToSubstring(int start, int) override
    {
        const QRect rect = browser()->cursorRect(cursorAt(start));
        if (!browser()->viewport()->rect().contains(rect))
            browser()->verticalScrollBar()->setValue(browser()->verticalScrollBar()->value() + rect.top());
    }

    // The page's fonts and colours are not told: one run without attributes.
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }

    QTextCursor cursorAt(int offset) const
    {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(std::clamp(offset, 0, characterCount()));
        return cursor;
    }

    void select(int start, int end)
    {
        QTextCursor cursor = cursorAt(start);
        cursor.setPosition(cursorAt(end).position(), QTextCursor::KeepAnchor);
        browser()->setTextCursor(cursor);
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

QAccessibleInterface* DocumentOfTextBrowser(const QString& className, QObject* object)
{
    auto* browser = qobject_cast<QTextBrowser*>(object);
    return browser && className == QStringLiteral("QTextBrowser") ? new AccessibleTextBrowser(browser) : nullptr;
}

} // namespace

void ReadTextBrowsersAsDocuments()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(DocumentOfTextBrowser);
}
