#pragma once

#include <QFileDialog>

class QLineEdit;

// The Open and Save As dialogs. The name typed is the name used: Qt's own
// dialog reads quotation marks as a list of names (my "best" note.SCB would
// save best.SCB), and a relative name is taken from the dialog's folder,
// never from the program's working directory; with no file chosen before,
// the dialog starts in the home folder. Any name may be typed, also to
// open: the program completes a name without extension, reports a missing
// file and asks its own overwrite question.
class NoteFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    NoteFileDialog(QWidget* parent, AcceptMode mode, const QString& nameFilter);

    QString chosenPath() const { return m_chosenPath; }
    QLineEdit* fileNameBox() const;

public slots:
    void accept() override;

private:
    QString m_chosenPath;
};

// A typed name as a full path: "~" is the home folder, a name not starting
// with "/" lies in folder.
QString TypedPath(const QString& typed, const QString& folder);
