#include "window/quiet_caption_button.h"

#include <QAccessibleWidget>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <utility>

namespace {

// Qt's own accessible button would read "on" from the button's checked state,
// which clicks change; this one reads the state the program sets. Qt's AT-SPI
// bridge has no toggle-button role: a checkable Qt button is a check box to
// screen readers, which then say whether it is checked.
class AccessibleOnOffButton : public QAccessibleWidget
{
public:
    explicit AccessibleOnOffButton(QuietCaptionButton* button)
        : QAccessibleWidget(button, QAccessible::CheckBox)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        const QString text = QAccessibleWidget::text(type);
        return type == QAccessible::Name && text.isEmpty() ? button()->text().remove(u'&') : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isOn();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        return button()->isEnabled() ? QStringList{pressAction()} + QAccessibleWidget::actionNames() : QStringList();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction() && button()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QuietCaptionButton* button() const { return static_cast<QuietCaptionButton*>(widget()); }
};

QAccessibleInterface* OnOffButton(const QString& className, QObject* object)
{
    auto* button = qobject_cast<QuietCaptionButton*>(object);
    return button && className == QStringLiteral("QuietCaptionButton") ? new AccessibleOnOffButton(button) : nullptr;
}

} // namespace

// Made without its text, which it gets once it is this class: setting a
// button's text tells screen readers, who would meet a plain push button.
QuietCaptionButton::QuietCaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(parent)
    , m_caption(caption)
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(OnOffButton);
    setText(caption);
}

void QuietCaptionButton::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void QuietCaptionButton::setOn(bool on)
{
    if (on == std::exchange(m_on, on))
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void QuietCaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = m_caption;
    painter.drawControl(QStyle::CE_PushButton, option);
}
