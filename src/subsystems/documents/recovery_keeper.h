#pragma once

#include "subsystems/documents/document_context.h"
#include "subsystems/documents/recovery_notices.h"

#include <QMetaObject>

#include <memory>

class RecoveryStore;
class SingleShotTimer;

// Keeps the unsaved text of the document in this copy's recovery file: the
// first edit since the file was last written starts a countdown, and its end
// writes the text, so steady typing is kept within two seconds without a
// write per keystroke. Once nothing is unsaved the file goes. It follows the
// editor's edits and changed flag from the moment it is made. The user hears
// when the text is kept only until logout, or nowhere.
class RecoveryKeeper
{
public:
    // Short of two seconds by what a timer may end late (5% for Qt's coarse
    // kind) and by the time a write takes.
    static constexpr int DelayMilliseconds = 1800;
    // How a notice about where the text is kept reaches the user.
    enum class NoticeBy { MessageBox, StandardError };

    RecoveryKeeper(DocumentContext context, RecoveryStore& store);
    ~RecoveryKeeper();
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

    // Writes the unsaved text at once. Returns whether a file holds it (true
    // too when nothing is unsaved). An end that cannot ask tells on standard
    // error, as nobody would answer a message box.
    bool keepNow(NoticeBy notice = NoticeBy::StandardError);
    // An exit where the user has decided about the text: the file goes.
    void forget();

private:
    void documentChanged();

    DocumentContext m_context;
    RecoveryStore& m_store;
    RecoveryNotices m_notices;
    std::unique_ptr<SingleShotTimer> m_countdown; // made at the first edit
    QMetaObject::Connection m_edits;
    QMetaObject::Connection m_changedFlag;
};
