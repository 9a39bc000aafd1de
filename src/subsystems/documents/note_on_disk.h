#pragma once

#include <QByteArray>

#include <optional>

struct DocumentContext;
struct NoteIdentity;

// The note as the program just read or wrote it: what is compared before it
// is written again, and what a change on disk is told apart by. The user has
// heard or decided what there was to hear about an earlier change.
void RememberNoteOnDisk(DocumentContext& context, const QByteArray& fingerprint, const NoteIdentity& identity);
// Nothing on disk is the current note's any more (New, or no note loaded).
void ForgetNoteOnDisk(DocumentContext& context);

// What the note must still hold when it is written again; nothing when the
// program knows nothing of it (an untitled note, or a text restored from a
// recovery file of an older version).
std::optional<QByteArray> ExpectedOnDisk(const DocumentContext& context);

// An automatic save left the note alone because it changed elsewhere: the
// user hears of it once, when the keyboard has been quiet for a while.
void TellAutoSaveSkipped(DocumentContext& context);
// A save is asking about the change: a notice still to come would say it twice.
void TellAskedAboutTheChange(DocumentContext& context);

// Whether a file whose identity is as remembered is taken to hold the same
// bytes: after a notification, yes; where none may come (a network mount
// caches what it says of its files), the bytes are read.
enum class DiskLook { IdentityFirst, BytesAlways };

// A note without unsaved changes shows what is on disk: when its bytes there
// changed, it is read again, the caret and the first line shown kept as far
// as the new text reaches. An edited note, a missing file or one that cannot
// be shown now (empty, too large, unreadable) is left as it is; the next save
// compares again.
void FollowNoteOnDisk(DocumentContext& context, DiskLook look);
