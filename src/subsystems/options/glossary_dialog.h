#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
struct Settings;

// "Glossary Entries": the texts behind the glossary buttons G1-G3 and the
// signature button S. Modeless; the record changes only when OK is pressed.
class Form10 : public QDialog
{
    Q_OBJECT

public:
    explicit Form10(QWidget* parent = nullptr);

    // Fills the boxes from the record, which OK later writes back to; the
    // record must outlive the dialog.
    void load(Settings& settings);

private:
    void commit();

    std::array<QLineEdit*, 4> m_texts{};
    Settings* m_settings = nullptr;
};
