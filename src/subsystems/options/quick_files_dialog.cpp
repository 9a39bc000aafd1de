#include "subsystems/options/quick_files_dialog.h"

#include "platform/classic_look.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "settings/settings.h"
#include "subsystems/documents/note_file_name.h"

#include <QFileInfo>
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
    {"Label1", "Enter The Files You Wish To Be Associated With The", true, 540, 180},
    {"Label2", "File Buttons, F1-F3 In The Edit Boxes Below:", true, 540, 480},
    {"Label3", "F1 ", false, 120, 960},
    {"Label4", "F2 ", false, 120, 1440},
    {"Label5", "F3 ", false, 120, 1920},
};

constexpr int RowTops[] = {900, 1380, 1860};

} // namespace

Form11::Form11(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("File Entries"));
    setFont(ClassicFont(8.25));
    ApplyClassicGrey(*this);
    // A fixed place on the screen: centred over the small main window, the
    // title bar could end up above the top of the screen.
    move(twips.toPixels(2400), twips.toPixels(2400));
    resize(twips.toPixels(7170), twips.toPixels(3210));

    const QFont captionFont = ArialBoldFont(9.75);
    for (const LabelPlace& place : Labels) {
        auto* label = new QLabel(QString::fromLatin1(place.text), this);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setFont(captionFont);
        label->setAlignment((place.centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignTop);
        label->setGeometry(twips.toPixels(place.left, place.top, place.centred ? 6135 : 435, 255));
        FitCaptionToWidth(*label, label->text());
    }
    std::array<QPushButton*, 3> browseButtons{};
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new QLineEdit(this);
        m_texts[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_texts[i]->setGeometry(twips.toPixels(660, RowTops[i], 5235, 375));
        browseButtons[i] = new QPushButton(QStringLiteral("Browse"), this);
        browseButtons[i]->setObjectName(QStringLiteral("Command3_%1").arg(i));
        browseButtons[i]->setFont(captionFont);
        browseButtons[i]->setGeometry(twips.toPixels(6000, RowTops[i], 975, 375));
        connect(browseButtons[i], &QPushButton::clicked, this, [this, i] { browse(i); });
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setFont(captionFont);
    ok->setGeometry(twips.toPixels(240, 2460, 3180, 495));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setFont(captionFont);
    cancel->setGeometry(twips.toPixels(3780, 2460, 3180, 495));

    QWidget* const tabOrder[] = {m_texts[0],       m_texts[1],       m_texts[2], browseButtons[0],
                                 browseButtons[1], browseButtons[2], ok,         cancel};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_texts[0]->setFocus();

    // Enter in a box reaches the dialog, which presses the default button;
    // Esc and the close box reject without storing.
    connect(ok, &QPushButton::clicked, this, &Form11::commit);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Form11::load(Settings& settings, Platform& platform)
{
    m_settings = &settings;
    m_platform = &platform;
    m_texts[0]->setText(settings.File1);
    m_texts[1]->setText(settings.File2);
    m_texts[2]->setText(settings.File3);
}

// A browsed file must be one the quick-file button can open; only the box
// changes, the record waits for OK.
void Form11::browse(std::size_t index)
{
    if (!m_platform)
        return;
    const std::optional<QString> chosen = m_platform->browseForFile(QStringLiteral("Scriblet Files (*.scb)|*.scb"), m_lastBrowsed);
    if (!chosen)
        return;
    const ExtensionCheck check = CheckNoteFileExtension(*chosen);
    if (!check.accepted) {
        ShowExtensionRefusal(*m_platform);
        return;
    }
    const QFileInfo file(check.path);
    if (!file.isFile() || file.size() == 0) {
        ShowError(*m_platform, QStringLiteral("File: ") + check.path + QStringLiteral(" Not Found Or Empty"));
        return;
    }
    m_texts[index]->setText(check.path);
}

void Form11::commit()
{
    if (m_settings) {
        m_settings->File1 = m_texts[0]->text();
        m_settings->File2 = m_texts[1]->text();
        m_settings->File3 = m_texts[2]->text();
    }
    accept();
}
