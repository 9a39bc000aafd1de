#pragma once

#include <QString>

// The system's words for an errno value, each word capitalised, so that a
// reason fits into the program's Title Case messages ("No Space Left On Device").
QString SystemErrorText(int error);
