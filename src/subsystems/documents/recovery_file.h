#pragma once

#include "settings/text_encoding.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The unsaved text of a note as it is kept against a crash.
struct RecoveredNote
{
    QString notePath; // empty for an untitled note
    TextEncoding encoding = TextEncoding::Utf8;
    QDateTime keptAt;
    QString text;
    QByteArray diskFingerprint{}; // the note as last read or written; empty when unknown
};

// A short header a person can read, a blank line, then the text as UTF-8.
QByteArray RecoveryFileBytes(const RecoveredNote& note);

// Nothing when the bytes are not a whole recovery file.
std::optional<RecoveredNote> ParseRecoveryFile(const QByteArray& bytes);
