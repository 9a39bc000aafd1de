#include "platform/note_file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

NoteFileDialog::NoteFileDialog(QWidget* parent, AcceptMode mode, const QString& nameFilter)
    : QFileDialog(parent, QString(), QDir::homePath(), nameFilter)
{
    setAcceptMode(mode);
    setFileMode(QFileDialog::AnyFile);
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
}

QLineEdit* NoteFileDialog::fileNameBox() const { return findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }

void NoteFileDialog::accept()
{
    QLineEdit* box = fileNameBox();
    if (!box) {
        QFileDialog::accept();
        m_chosenPath = selectedFiles().value(0);
        return;
    }
    const QString typed = box->text();
    if (typed.isEmpty())
        return;
    const QString path = TypedPath(typed, directory().absolutePath());
    if (QFileInfo(path).isDir()) {
        setDirectory(path);
        box->clear();
        return;
    }
    m_chosenPath = path;
    QDialog::accept();
}

QString TypedPath(const QString& typed, const QString& folder)
{
    if (typed == u'~' || typed.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + typed.mid(1);
    if (typed.startsWith(u'/'))
        return typed;
    return folder.endsWith(u'/') ? folder + typed : folder + u'/' + typed;
}
