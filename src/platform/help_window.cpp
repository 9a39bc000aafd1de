#include "platform/help_window.h"

#include "platform/help_page_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString ContentsPage = QStringLiteral("index.html");
const QString WindowTitle = QStringLiteral("Scriblet Help");
// Pages compiled into the program.
const QString BuiltInPages = QStringLiteral(":/help/");

bool HoldsContentsPage(const QString& directory)
{
    return !directory.isEmpty() && QFileInfo(directory + u'/' + ContentsPage).isFile();
}

struct HelpPage
{
    QString fileName;
    QString title;
    QString text; // as shown, without markup
};

// Read afresh for every search: the pages are few and small, and a window
// that is never searched never reads them.
QList<HelpPage> ReadPages(const QString& directory)
{
    QList<HelpPage> pages;
    if (directory.isEmpty())
        return pages;
    const QStringList names = QDir(directory).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(directory + u'/' + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument document;
        document.setHtml(QString::fromUtf8(file.readAll()));
        const QString title = document.metaInformation(QTextDocument::DocumentTitle).trimmed();
        pages.append({name, title.isEmpty() ? name : title, document.toPlainText()});
    }
    // As the results list shows them: the contents first, the others by title.
    std::stable_sort(pages.begin(), pages.end(), [](const HelpPage& left, const HelpPage& right) {
        const bool leftOther = left.fileName != ContentsPage;
        const bool rightOther = right.fileName != ContentsPage;
        return leftOther != rightOther ? rightOther : left.title.localeAwareCompare(right.title) < 0;
    });
    return pages;
}

QList<HelpPage> PagesHolding(const QString& directory, const QString& word)
{
    QList<HelpPage> found;
    const QString wanted = word.trimmed();
    if (wanted.isEmpty())
        return found;
    for (const HelpPage& page : ReadPages(directory)) {
        if (page.text.contains(wanted, Qt::CaseInsensitive))
            found.append(page);
    }
    return found;
}

QToolButton* MakeToolButton(QToolButton* button, const QString& text, const QIcon& icon, const QKeySequence& keys = {})
{
    button->setText(text);
    button->setIcon(icon);
    button->setShortcut(keys);
    button->setToolTip(keys.isEmpty() ? text : text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + u')');
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QString HelpDirectory(const QString& programDirectory)
{
    QStringList candidates{programDirectory + QStringLiteral("/../share/scriblet/help")};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("scriblet/help"),
                                            QStandardPaths::LocateDirectory);
    for (const QString& candidate : candidates) {
        if (HoldsContentsPage(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

HelpWindow::HelpWindow(const QString& helpDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_directory(helpDirectory)
    , m_browser(new HelpPageView(this))
    , m_search(new QLineEdit(this))
    , m_results(new QListWidget(this))
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
{
    setWindowTitle(WindowTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/scriblet.png")));
    resize(640, 480);

    MakeToolButton(m_back, QStringLiteral("Back"), style()->standardIcon(QStyle::SP_ArrowBack), QKeySequence::Back);
    m_back->setEnabled(false);
    MakeToolButton(m_forward, QStringLiteral("Forward"), style()->standardIcon(QStyle::SP_ArrowForward), QKeySequence::Forward);
    m_forward->setEnabled(false);
    auto* contents = MakeToolButton(new QToolButton(this), QStringLiteral("Contents"), style()->standardIcon(QStyle::SP_DirHomeIcon));
    contents->setObjectName(QStringLiteral("contents"));
    contents->setToolTip(QStringLiteral("The List Of Topics"));
    m_search->setPlaceholderText(QStringLiteral("Search"));
    m_search->setAccessibleName(QStringLiteral("Search"));
    m_search->setObjectName(QStringLiteral("search"));
    // The keyboard alone reaches everything: Ctrl+F the search, Esc or Ctrl+W closes.
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        // A line edit given the keyboard by a shortcut selects its text before
        // the move is told, and screen readers then keep quiet about the move.
        m_search->setFocus(Qt::OtherFocusReason);
        m_search->selectAll();
    });
    for (const QKeySequence& closing : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
        connect(new QShortcut(closing, this), &QShortcut::activated, this, &QWidget::close);
    m_search->setClearButtonEnabled(true);
    m_search->setToolTip(QStringLiteral("Type A Word And Press Enter To List The Pages That Hold It"));

    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    m_browser->setAccessibleName(QStringLiteral("Help Page"));
    m_results->setAccessibleName(QStringLiteral("Pages Found"));
    m_results->setToolTip(QStringLiteral("Click A Page To Show It"));
    m_results->setWordWrap(true);
    m_results->setSpacing(2);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Until the first search the page has the whole width.
    m_results->hide();

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_back);
    tools->addWidget(m_forward);
    tools->addWidget(contents);
    tools->addStretch(1);
    tools->addWidget(m_search);
    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->addWidget(m_browser);
    panes->addWidget(m_results);
    panes->setStretchFactor(0, 1);
    panes->setChildrenCollapsible(false);
    panes->setSizes({460, 170});
    m_search->setFixedWidth(170);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(tools);
    layout->addWidget(panes, 1);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::showTitle);
    connect(contents, &QToolButton::clicked, this, [this] { showPage(ContentsPage); });
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::search);
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::showResult);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::showResult);
}

void HelpWindow::showPage(const QString& fileName)
{
    const QString path = m_directory + u'/' + fileName;
    if (!m_directory.isEmpty() && QFileInfo(path).isFile()) {
        m_browser->setSource(QUrl::fromLocalFile(path));
        return;
    }
    // How to use this window must be at hand also when the installed pages are not.
    if (const QString builtIn = BuiltInPages + fileName; QFileInfo(builtIn).isFile()) {
        m_browser->setSource(QUrl(QStringLiteral("qrc") + builtIn));
        return;
    }
    showMissingPage(fileName);
}

QStringList HelpWindow::pagesHolding(const QString& word) const
{
    QStringList names;
    for (const HelpPage& page : PagesHolding(m_directory, word))
        names.append(page.fileName);
    return names;
}

void HelpWindow::showMissingPage(const QString& fileName)
{
    const QString text = m_directory.isEmpty()
        ? QStringLiteral("<p>The Help Pages Were Not Found.</p>"
             "<p>Scriblet Looks For Them In The <tt>share/scriblet/help</tt> Folder Of Its Installation, "
             "Such As <tt>/usr/share/scriblet/help</tt>, And In <tt>~/.local/share/scriblet/help</tt>.</p>")
        : QStringLiteral("<p>The Help Page <tt>%1</tt> Was Not Found In <tt>%2</tt>.</p>")
              .arg(fileName.toHtmlEscaped(), m_directory.toHtmlEscaped());
    m_browser->setHtml(text);
    setWindowTitle(WindowTitle);
}

void HelpWindow::showTitle()
{
    const QString title = m_browser->documentTitle().trimmed();
    setWindowTitle(title.isEmpty() ? WindowTitle : WindowTitle + QStringLiteral(" - ") + title);
}

void HelpWindow::search()
{
    m_searchedWord = m_search->text().trimmed();
    m_results->clear();
    if (m_searchedWord.isEmpty())
        return;
    m_results->show();
    for (const HelpPage& page : PagesHolding(m_directory, m_searchedWord)) {
        auto* item = new QListWidgetItem(page.title, m_results);
        item->setData(Qt::UserRole, page.fileName);
    }
    if (m_results->count() == 0) {
        auto* none = new QListWidgetItem(QStringLiteral("No Page Holds \"%1\".").arg(m_searchedWord), m_results);
        none->setFlags(Qt::NoItemFlags);
    }
}

void HelpWindow::showResult(const QListWidgetItem* item)
{
    const QString fileName = item ? item->data(Qt::UserRole).toString() : QString();
    if (fileName.isEmpty())
        return;
    showPage(fileName);
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->find(m_searchedWord);
}
