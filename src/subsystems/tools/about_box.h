#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's name between its icons, a few lines about
// it, and one button that closes it.
class Form4 : public QDialog
{
    Q_OBJECT

public:
    explicit Form4(QWidget* parent = nullptr);

    QLabel& productLabel() const { return *m_product; }
    QLabel& textBlock() const { return *m_text; }
    QPushButton& thankYouButton() const { return *m_button; }

private:
    QLabel* m_product;
    QLabel* m_text;
    QPushButton* m_button;
};
