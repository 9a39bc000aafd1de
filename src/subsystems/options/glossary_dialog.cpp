#include "subsystems/options/glossary_dialog.h"

#include "platform/classic_look.h"
#include "platform/twips.h"
#include "settings/settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct LabelPlace
{
    const char* name;
    const char* text;
    bool centred; // else right-aligned
    int left;
    int top;
};

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
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Glossary Entries"));
    setFont(ClassicFont(8.25));
    ApplyClassicGrey(*this);
    // A fixed place on the screen: centred over the small main window, the
    // title bar could end up above the top of the screen.
    move(twips.toPixels(1920), twips.toPixels(1920));
    resize(twips.toPixels(7155), twips.toPixels(4455));

    const QFont captionFont = ArialBoldFont(9.75);
    for (const LabelPlace& place : Labels) {
        auto* label = new QLabel(QString::fromLatin1(place.text), this);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setFont(captionFont);
        label->setAlignment((place.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignTop);
        label->setGeometry(twips.toPixels(place.left, place.top, place.centred ? 6135 : 435, 255));
        FitCaptionToWidth(*label, label->text());
    }
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new QLineEdit(this);
        m_texts[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_texts[i]->setGeometry(twips.toPixels(720, TextTops[i], 6135, 375));
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setFont(captionFont);
    ok->setGeometry(twips.toPixels(240, 3720, 3180, 495));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setFont(captionFont);
    cancel->setGeometry(twips.toPixels(3780, 3720, 3180, 495));

    QWidget* const tabOrder[] = {m_texts[0], m_texts[1], m_texts[2], m_texts[3], ok, cancel};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_texts[0]->setFocus();

    // Enter in a box reaches the dialog, which presses the default button;
    // Esc and the close box reject without storing.
    connect(ok, &QPushButton::clicked, this, &Form10::commit);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
