#include "subsystems/documents/recovery_keeper.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/recovery_store.h"

#include <QTextDocument>

RecoveryKeeper::RecoveryKeeper(DocumentContext context, RecoveryStore& store)
    : m_context(context)
    , m_store(store)
{
    const QTextDocument* document = m_context.editor.document();
    m_edits = QObject::connect(document, &QTextDocument::contentsChanged, [this] { documentChanged(); });
    m_changedFlag = QObject::connect(document, &QTextDocument::modificationChanged, [this] { documentChanged(); });
}

RecoveryKeeper::~RecoveryKeeper()
{
    QObject::disconnect(m_edits);
    QObject::disconnect(m_changedFlag);
}

void RecoveryKeeper::documentChanged()
{
    if (!IsDocumentChanged(m_context)) {
        if (m_countdown)
            m_countdown->stop();
        m_store.discard();
        return;
    }
    if (!m_countdown)
        m_countdown = m_context.platform.makeSingleShotTimer([this] { keepNow(); });
    if (!m_countdown->isActive())
        m_countdown->start(DelayMilliseconds);
}

bool RecoveryKeeper::keepNow()
{
    if (m_countdown)
        m_countdown->stop();
    if (!IsDocumentChanged(m_context)) {
        m_store.discard();
        return true;
    }
    const QString& path = m_context.settings.FileName;
    RecoveredNote note{path == UntitledFileName ? QString() : path, m_context.document.DocumentEncoding,
                       m_context.platform.currentDateTime(), m_context.editor.text()};
    // Not reported: the note itself is untouched, and the next edit tries again.
    return m_store.keep(note) == 0;
}

void RecoveryKeeper::forget()
{
    if (m_countdown)
        m_countdown->stop();
    m_store.discard();
}
