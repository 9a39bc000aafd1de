#include "window/quiet_caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

QuietCaptionButton::QuietCaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
    , m_caption(caption)
{
}

void QuietCaptionButton::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void QuietCaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = m_caption;
    painter.drawControl(QStyle::CE_PushButton, option);
}
