#include "subsystems/options/entry_dialog_parts.h"

#include "platform/classic_look.h"
#include "platform/twips.h"
#include "settings/settings.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar(0x85) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Rewrites what a paste or a program put into the box: each line break (CR LF
// counts as one) becomes a blank, and half a surrogate pair, which the length
// limit can leave at the end of a cut paste, is dropped.
class OneLineText : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        QString text;
        text.reserve(input.size());
        int cursor = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            const bool pairedHigh = c.isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate();
            const bool pairedLow = c.isLowSurrogate() && i > 0 && input[i - 1].isHighSurrogate();
            const bool crBeforeLf = c == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n';
            if ((c.isSurrogate() && !pairedHigh && !pairedLow) || crBeforeLf) {
                if (i < pos)
                    --cursor;
                continue;
            }
            text += IsLineBreak(c) ? QChar(u' ') : c;
        }
        input = text;
        pos = cursor;
        return Acceptable;
    }
};

} // namespace

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

QLineEdit* AddEntryBox(QDialog& dialog, const QString& name, const QString& spokenName, int left, int top, int width)
{
    auto* box = new QLineEdit(&dialog);
    box->setObjectName(name);
    box->setAccessibleName(spokenName);
    box->setGeometry(Twips::forWidget(dialog).toPixels(left, top, width, 375));
    box->setMaxLength(LongestSettingsText);
    box->setValidator(new OneLineText(box));
    return box;
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
