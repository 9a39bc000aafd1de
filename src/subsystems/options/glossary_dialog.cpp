#include "subsystems/options/glossary_dialog.h"

#include "settings/settings.h"
#include "subsystems/options/entry_dialog_parts.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr LabelPlace Labels[] = {
    {"Label1", "Enter The Text Strings You Wish To Be Associated With The", true, 540, 180},
    {"Label2", "Glossary Buttons (G1-G3) In The Edit Boxes Below:", true, 540, 480},
    {"Label3", "G1 ", false, 180, 960},
    {"Label4", "G2 ", false, 180, 1440},
    {"Label5", "G3 ", false, 180, 1920},
    {"Label8", "Enter The Text String You Wish To Be Associated With The", true, 540, 2460},
    {"Label7", "Signature Button (S) In The Edit Box Below:", true, 540, 2760},
    {"Label6", "S ", false, 180, 3240},
};

constexpr int TextTops[] = {900, 1380, 1860, 3180};

} // namespace

Form10::Form10(QWidget* parent)
    : QDialog(parent, EntryDialogFlags)
{
    SetUpEntryDialog(*this, QStringLiteral("Form10"), QStringLiteral("Glossary Entries"), QPoint(1920, 1920),
                     QSize(7155, 4455));
    AddEntryLabels(*this, Labels);
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        const QString spoken = i < 3 ? QStringLiteral("Glossary %1").arg(i + 1) : QStringLiteral("Signature");
        m_texts[i] = AddEntryBox(*this, QStringLiteral("Text%1").arg(i + 1), spoken, 720, TextTops[i], 6135);
    }

    const auto [ok, cancel] = AddOkAndCancel(*this, 3720);
    SetTabOrder({m_texts[0], m_texts[1], m_texts[2], m_texts[3], ok, cancel});
    connect(ok, &QPushButton::clicked, this, &Form10::commit);
}

void Form10::load(Settings& settings)
{
    m_settings = &settings;
    m_texts[0]->setText(settings.Glossary1);
    m_texts[1]->setText(settings.Glossary2);
    m_texts[2]->setText(settings.Glossary3);
    m_texts[3]->setText(settings.Signature);
}

void Form10::commit()
{
    if (m_settings) {
        m_settings->Glossary1 = m_texts[0]->text();
        m_settings->Glossary2 = m_texts[1]->text();
        m_settings->Glossary3 = m_texts[2]->text();
        m_settings->Signature = m_texts[3]->text();
    }
    accept();
}
