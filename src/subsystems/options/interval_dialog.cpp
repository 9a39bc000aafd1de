#include "subsystems/options/interval_dialog.h"

#include "platform/classic_look.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "platform/window_flags.h"
#include "settings/numeric_text.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QRect Pixels(const Twips& twips, const QRect& rect)
{
    return twips.toPixels(rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace

IntervalDialog::IntervalDialog(QWidget* parent, const IntervalDialogLayout& layout)
    : QDialog(parent, CloseOnlyDialogFlags)
    , m_layout(layout)
    , m_check(new QCheckBox(QString::fromLatin1(layout.checkCaption), this))
    , m_text(new QLineEdit(this))
    , m_label(new QLabel(QString::fromLatin1(layout.labelCaption), this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QString::fromLatin1(layout.objectName));
    setWindowTitle(QString::fromLatin1(layout.caption));
    m_text->setAccessibleName(QString::fromLatin1(layout.fieldName));
    ApplyClassicGrey(*this);
    move(twips.toPixels(layout.left), twips.toPixels(layout.top));
    setFixedSize(twips.toPixels(layout.clientWidth), twips.toPixels(layout.clientHeight));

    const QFont classic = ClassicFont(9.75);
    const QFont arial = ArialBoldFont(9.75);
    const auto place = [&twips](QWidget* control, const char* name, const QFont& font, const QRect& rect) {
        control->setObjectName(QString::fromLatin1(name));
        control->setFont(font);
        control->setGeometry(Pixels(twips, rect));
    };
    place(m_check, "Check1", classic, layout.check);
    place(m_text, "Text1", classic, layout.text);
    place(m_label, "Label1", classic, layout.label);
    place(m_ok, "Command1", arial, layout.ok);
    place(m_cancel, "Command2", arial, layout.cancel);
    FitCaptionToWidth(*m_check, m_check->text());
    FitCaptionToWidth(*m_label, m_label->text());
    m_ok->setDefault(true);
    setTabOrder(m_check, m_text);
    setTabOrder(m_text, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_check->setFocus();
    m_check->installEventFilter(this);

    connect(m_check, &QCheckBox::toggled, this, [this](bool checked) { checkChanged(checked); });
    connect(m_ok, &QPushButton::clicked, this, &IntervalDialog::onOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void IntervalDialog::loadValues(Platform& platform, bool checked, int number)
{
    m_platform = &platform;
    m_text->setText(u' ' + QString::number(number));
    m_check->setChecked(checked);
}

// Enter is OK's, also on the check box, which has the keyboard when the
// dialog opens. GNOME's platform theme makes Enter press a focused button:
// there it switched the option instead.
bool IntervalDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_check && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
            m_ok->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IntervalDialog::onOk()
{
    const std::optional<int> number = NumberInRange(m_text->text(), m_layout.minimum, m_layout.maximum);
    if (!number) {
        if (m_platform)
            ShowError(*m_platform, QString::fromLatin1(m_layout.rangeMessage), QString::fromLatin1(m_layout.rangeTitle));
        return;
    }
    storeNumber(*number);
    accept();
}
