#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;
class QPushButton;

// The Find dialog: one line for the search string and an OK button. OK or
// Enter in the line closes it; it has no Cancel button of its own.
class Form13 : public QDialog
{
    Q_OBJECT

public:
    explicit Form13(QWidget* parent = nullptr);

    void setSearchText(const QString& text);
    QString searchText() const;

    QLineEdit& textBox() const { return *m_text; }
    QPushButton& okButton() const { return *m_ok; }
    QLabel& label() const { return *m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_label;
    QLineEdit* m_text;
    QPushButton* m_ok;
};
