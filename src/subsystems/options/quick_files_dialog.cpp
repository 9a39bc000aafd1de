#include "subsystems/options/quick_files_dialog.h"

#include "platform/classic_look.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "settings/settings.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/options/entry_dialog_parts.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

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
    : QDialog(parent, EntryDialogFlags)
{
    SetUpEntryDialog(*this, QStringLiteral("Form11"), QStringLiteral("File Entries"), QPoint(2400, 2400),
                     QSize(7170, 3210));
    AddEntryLabels(*this, Labels);
    const Twips twips = Twips::forWidget(*this);
    const QFont captionFont = ArialBoldFont(9.75);
    std::array<QPushButton*, 3> browseButtons{};
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        const QString spoken = QStringLiteral("F%1 File").arg(i + 1);
        m_texts[i] = AddEntryBox(*this, QStringLiteral("Text%1").arg(i + 1), spoken, 660, RowTops[i], 5235);
        browseButtons[i] = new QPushButton(QStringLiteral("Browse"), this);
        browseButtons[i]->setAccessibleName(QStringLiteral("Browse For ") + spoken);
        browseButtons[i]->setObjectName(QStringLiteral("Command3_%1").arg(i));
        browseButtons[i]->setFont(captionFont);
        browseButtons[i]->setGeometry(twips.toPixels(6000, RowTops[i], 975, 375));
        connect(browseButtons[i], &QPushButton::clicked, this, [this, i] { browse(i); });
    }

    const auto [ok, cancel] = AddOkAndCancel(*this, 2460);
    SetTabOrder({m_texts[0], m_texts[1], m_texts[2], browseButtons[0], browseButtons[1], browseButtons[2], ok,
                 cancel});
    connect(ok, &QPushButton::clicked, this, &Form11::commit);
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
    // The box would cut it, and a cut path opens some other file or none.
    if (check.path.size() > LongestSettingsText) {
        ShowError(*m_platform, QStringLiteral("File: ") + check.path + QStringLiteral(" Has A Path Longer Than %1 Characters, Too Long For A Quick File").arg(LongestSettingsText));
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
