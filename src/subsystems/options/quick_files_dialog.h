#pragma once

#include <QDialog>

#include <array>

class Platform;
class QLineEdit;
struct Settings;

// "File Entries": the paths behind the quick-file buttons F1-F3, each with a
// Browse button. Modeless; the record changes only when OK is pressed.
class Form11 : public QDialog
{
    Q_OBJECT

public:
    explicit Form11(QWidget* parent = nullptr);

    // Fills the boxes from the record, which OK later writes back to; the
    // record and the platform must outlive the dialog.
    void load(Settings& settings, Platform& platform);

private:
    void browse(std::size_t index);
    void commit();

    std::array<QLineEdit*, 3> m_texts{};
    Settings* m_settings = nullptr;
    Platform* m_platform = nullptr;
    // The Browse buttons' own dialog memory, apart from the main window's Open and Save.
    QString m_lastBrowsed;
};
