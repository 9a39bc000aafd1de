#pragma once

#include <QByteArray>
#include <QString>

// A note as a user keeps one: lines of words of varying length, some longer
// than a printed line, to-do items, blank lines between paragraphs, CR LF
// line ends and the final Ctrl-Z, exactly size bytes on disk. The same bytes
// on every run.
QByteArray SampleNoteBytes(qsizetype size);

// A word the sample holds many times.
inline const QString SampleSearchWord = QStringLiteral("meeting");
