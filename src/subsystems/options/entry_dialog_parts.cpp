#include "subsystems/options/entry_dialog_parts.h"

#include "platform/classic_look.h"
#include "platform/twips.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

void SetUpEntryDialog(QDialog& dialog, const QString& name, const QString& title, QPoint placeTwips,
                      QSize clientTwips)
{
    const Twips twips = Twips::forWidget(dialog);
    dialog.setObjectName(name);
    dialog.setWindowTitle(title);
    dialog.setFont(ClassicFont(8.25));
    ApplyClassicGrey(dialog);
    dialog.move(twips.toPixels(placeTwips.x()), twips.toPixels(placeTwips.y()));
    dialog.resize(twips.toPixels(clientTwips.width()), twips.toPixels(clientTwips.height()));
}

void AddEntryLabels(QDialog& dialog, std::span<const LabelPlace> labels)
{
    const Twips twips = Twips::forWidget(dialog);
    const QFont captionFont = ArialBoldFont(9.75);
    for (const LabelPlace& place : labels) {
        auto* label = new QLabel(QString::fromLatin1(place.text), &dialog);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setFont(captionFont);
        label->setAlignment((place.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignTop);
        label->setGeometry(twips.toPixels(place.left, place.top, place.centred ? 6135 : 435, 255));
        FitCaptionToWidth(*label, label->text());
    }
}

std::pair<QPushButton*, QPushButton*> AddOkAndCancel(QDialog& dialog, int topTwips)
{
    const Twips twips = Twips::forWidget(dialog);
    const QFont captionFont = ArialBoldFont(9.75);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setFont(captionFont);
    ok->setGeometry(twips.toPixels(240, topTwips, 3180, 495));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setFont(captionFont);
    cancel->setGeometry(twips.toPixels(3780, topTwips, 3180, 495));
    // Enter in a box reaches the dialog, which presses the default button;
    // Esc and the close box reject without storing.
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return {ok, cancel};
}

void SetTabOrder(const QList<QWidget*>& order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    order.front()->setFocus();
}
