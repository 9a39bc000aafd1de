#include "subsystems/options/elapsed_time_window.h"

#include "platform/classic_look.h"
#include "platform/twips.h"
#include "platform/window_flags.h"

#include <QCloseEvent>
#include <QLabel>

Form12::Form12(QWidget* parent)
    : QWidget(parent, CloseOnlyDialogFlags | Qt::MSWindowsFixedSizeDialogHint)
    , m_label(new QLabel(this))
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Elapsed Time"));
    ApplyClassicGrey(*this);
    // The note keeps the keyboard while the stopwatch runs.
    setAttribute(Qt::WA_ShowWithoutActivating);
    move(twips.toPixels(3690), twips.toPixels(3645));
    setFixedSize(twips.toPixels(2580), twips.toPixels(645));

    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setFont(ArialBoldFont(18));
    m_label->setGeometry(twips.toPixels(60, 60, 2475, 495));
}

void Form12::showTime(const QString& text) { m_label->setText(text); }

void Form12::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous()) {
        event->ignore();
        emit closeRequested();
    } else {
        QWidget::closeEvent(event);
    }
}
