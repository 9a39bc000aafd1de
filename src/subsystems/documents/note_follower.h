#pragma once

#include "subsystems/documents/document_context.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class NoteWatch;
class SingleShotTimer;

// Keeps the editor in step with the note on disk: watches the current note,
// gathers the notifications of one write (a file written in pieces is read
// once) and then follows the disk as FollowNoteOnDisk does. Also shows the
// notice that an auto save was skipped, once the keyboard has been quiet, so
// no typed key lands in it. Neither happens while a dialog is open; both wait
// for the window to be active again. Without notifications it does nothing;
// the saves still compare the disk with what was read or written.
class NoteFollower : public QObject
{
public:
    static constexpr int GatherMilliseconds = 200;
    static constexpr int GatherLimitMilliseconds = 1000;
    static constexpr int QuietMilliseconds = 2000;

    explicit NoteFollower(DocumentContext context);
    ~NoteFollower() override;

    // Watches the current note, if it has a name and is not watched already.
    void follow();
    // Shows the skipped-auto-save notice after a quiet spell, unless a save
    // the user starts first asks instead.
    void tellSoon();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void changedOnDisk();
    void gathered();
    void tell();

    DocumentContext m_context;
    QString m_watchedPath;
    std::unique_ptr<NoteWatch> m_watch;
    std::unique_ptr<SingleShotTimer> m_gather; // both made when first needed
    std::unique_ptr<SingleShotTimer> m_quiet;
    std::int64_t m_firstNotification = 0;
    bool m_followAfterDialog = false;
    bool m_tellAfterDialog = false;
};
