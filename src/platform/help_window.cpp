#include "platform/help_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QToolButton>

QString HelpDirectory() { return QString(); }

HelpWindow::HelpWindow(const QString& helpDirectory, QWidget* parent)
    : QWidget(parent)
    , m_directory(helpDirectory)
    , m_browser(new QTextBrowser(this))
    , m_search(new QLineEdit(this))
    , m_results(new QListWidget(this))
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
{
}

void HelpWindow::showPage(const QString&) {}

QStringList HelpWindow::pagesHolding(const QString&) const { return {}; }
