#pragma once

#include "subsystems/documents/document_context.h"

#include <QMetaObject>

#include <memory>

class RecoveryStore;
class SingleShotTimer;

// Keeps the unsaved text of the document in this copy's recovery file: the
// first edit since the file was last written starts a countdown, and its end
// writes the text, so steady typing is kept every two seconds without a
// write per keystroke. Once nothing is unsaved the file goes. It follows the
// editor's edits and changed flag from the moment it is made.
class RecoveryKeeper
{
public:
    static constexpr int DelayMilliseconds = 2000;

    RecoveryKeeper(DocumentContext context, RecoveryStore& store);
    ~RecoveryKeeper();
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

    // Writes the unsaved text at once, for an end that cannot ask. Returns
    // whether the file holds it (true too when nothing is unsaved).
    bool keepNow();
    // An exit where the user has decided about the text: the file goes.
    void forget();

private:
    void documentChanged();

    DocumentContext m_context;
    RecoveryStore& m_store;
    std::unique_ptr<SingleShotTimer> m_countdown; // made at the first edit
    QMetaObject::Connection m_edits;
    QMetaObject::Connection m_changedFlag;
};
