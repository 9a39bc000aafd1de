#include "platform/color_and_font_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

// Qt offers no option for either, so the parts are found by the captions Qt
// gives them, translated as Qt translates them.
void UseWithoutCustomColors(QColorDialog& dialog)
{
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() != QColorDialog::tr("&Custom colors"))
            continue;
        label->hide();
        if (label->buddy())
            label->buddy()->hide();
    }
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QColorDialog::tr("&Add to Custom Colors"))
            button->hide();
    }
}

void UseWithoutEffects(QFontDialog& dialog)
{
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (group->findChildren<QCheckBox*>().isEmpty())
            continue;
        // The sample beside it takes its height from this row: without the
        // room the sample's text would be cut to nothing.
        QSizePolicy policy = group->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        group->setSizePolicy(policy);
        group->hide();
    }
}
