#pragma once

#include <QDialog>

class Platform;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Where the controls of an interval dialog sit and what they say; positions
// are left, top, width, height in twips.
struct IntervalDialogLayout
{
    const char* objectName;
    const char* caption;
    int left, top, clientWidth, clientHeight;
    const char* checkCaption;
    QRect check;
    QRect text;
    const char* labelCaption;
    QRect label;
    QRect ok;
    QRect cancel;
    int minimum, maximum;
    const char* rangeMessage;
    const char* rangeTitle;
    const char* fieldName; // what a screen reader calls the number's box
};

// A check box that switches an option at once and a number that OK commits
// after a range check: the Auto Save and Timer Beep dialogs. A number out of
// range keeps the dialog open with the text as typed; Cancel, Esc and the
// close box leave the number as it was.
class IntervalDialog : public QDialog
{
    Q_OBJECT

public:
    QCheckBox& checkBox() const { return *m_check; }
    QLineEdit& textBox() const { return *m_text; }
    QLabel& label() const { return *m_label; }
    QPushButton& okButton() const { return *m_ok; }
    QPushButton& cancelButton() const { return *m_cancel; }

protected:
    IntervalDialog(QWidget* parent, const IntervalDialogLayout& layout);

    // Fills the controls; a box that starts checked counts as a change.
    void loadValues(Platform& platform, bool checked, int number);
    virtual void checkChanged(bool checked) = 0;
    virtual void storeNumber(int number) = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onOk();

    const IntervalDialogLayout& m_layout;
    Platform* m_platform = nullptr;
    QCheckBox* m_check;
    QLineEdit* m_text;
    QLabel* m_label;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
