#pragma once

#include <QTextBrowser>

// The help window's page. Qt tells screen readers a text browser is a label,
// so they speak its name and never its text: this one is a read-only
// document whose text, lines, caret and selection they read, with a caret the
// arrow keys move and the link Tab selects told to them.
class HelpPageView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpPageView(QWidget* parent);

protected:
    bool focusNextPrevChild(bool next) override;
};
