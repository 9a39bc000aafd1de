#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;
class QToolButton;

// Where the help pages are: share/scriblet/help beside the program's folder
// (where it is installed; a build tree links them there), else in the
// user's or the system's data folders. Empty when none is found.
QString HelpDirectory(const QString& programDirectory);

// The help window: the program's HTML help pages with links between them,
// Back and Forward, and a search box that lists the pages holding a word.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(const QString& helpDirectory, QWidget* parent = nullptr);

    // Shows a page of the help directory ("index.html", "help-on-help.html").
    void showPage(const QString& fileName);
    // The pages, by file name, whose text holds the word (any letter case).
    QStringList pagesHolding(const QString& word) const;

    QTextBrowser& browser() const { return *m_browser; }
    QLineEdit& searchBox() const { return *m_search; }
    QListWidget& results() const { return *m_results; }
    QToolButton& backButton() const { return *m_back; }
    QToolButton& forwardButton() const { return *m_forward; }

private:
    void showMissingPage(const QString& fileName);
    void showTitle();
    void search();
    void showResult(const QListWidgetItem* item);

    QString m_directory;
    // The word of the last search, looked for again on the result's page.
    QString m_searchedWord;
    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QListWidget* m_results;
    QToolButton* m_back;
    QToolButton* m_forward;
};
