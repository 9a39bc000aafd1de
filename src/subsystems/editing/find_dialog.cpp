#include "subsystems/editing/find_dialog.h"

#include "platform/classic_look.h"
#include "platform/never_minimized.h"
#include "platform/twips.h"
#include "platform/window_flags.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Form13::Form13(QWidget* parent)
    : QDialog(parent, CloseOnlyDialogFlags)
    , m_label(new QLabel(QStringLiteral("Enter search string:"), this))
    , m_text(new QLineEdit(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QStringLiteral("Form13"));
    KeepFromMinimizing(*this);
    setWindowTitle(QStringLiteral("Find..."));
    setFont(ClassicFont(8.25));
    ApplyClassicGrey(*this);
    move(twips.toPixels(2805), twips.toPixels(2100));
    setFixedSize(twips.toPixels(5295), twips.toPixels(1875));

    m_label->setFont(ClassicFont(9.75));
    m_label->setGeometry(twips.toPixels(180, 240, 2175, 255));
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Find What"));
    m_text->setGeometry(twips.toPixels(180, 600, 4935, 375));
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setFont(ClassicFont(9.75));
    m_ok->setGeometry(twips.toPixels(180, 1200, 4935, 495));
    m_ok->setAutoDefault(false);
    m_ok->setDefault(false);
    setTabOrder(m_text, m_ok);
    m_text->setFocus();

    m_ok->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_text, &QLineEdit::returnPressed, this, &QDialog::accept);
}

// Without being the default button, OK still answers Enter when it has the focus.
bool Form13::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ok && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form13::setSearchText(const QString& text) { m_text->setText(text); }

QString Form13::searchText() const { return m_text->text(); }
