#pragma once

#include <QByteArray>

// Whether the name still leads to the file the descriptor has open. A file
// locked by its descriptor may have been removed, or another put in its
// place, by another copy between the opening and the locking.
bool NameLeadsToOpenFile(int fd, const QByteArray& path);
