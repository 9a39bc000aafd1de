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
        m_countdown = m_context.platform.makeSingleShotTimer([this] { keepNow(NoticeBy::MessageBox); });
    if (!m_countdown->isActive())
        m_countdown->start(DelayMilliseconds);
}

bool RecoveryKeeper::keepNow(NoticeBy notice)
{
    if (m_countdown)
        m_countdown->stop();
    if (!IsDocumentChanged(m_context)) {
        m_store.discard();
        return true;
    }
    const QString& path = m_context.settings.FileName;
    RecoveredNote note{path == UntitledFileName ? QString() : path, m_context.document.DocumentEncoding,
                       m_context.platform.currentDateTime(), m_context.editor.text(),
                       m_context.document.DiskFingerprint};
    const KeepResult result = m_store.keep(note);
    if (const std::optional<MessageBoxRequest> message = m_notices.after(result)) {
        if (notice == NoticeBy::MessageBox)
            m_context.platform.showMessage(*message);
        else
            qWarning("%s", qPrintable(message->text));
    }
    return result.kept();
}

void RecoveryKeeper::forget()
{
    if (m_countdown)
        m_countdown->stop();
    m_store.discard();
}
