#pragma once

#include <QString>

// The text with each word capitalised, so that a reason the system gives
// fits into the program's Title Case messages.
QString TitleCaseWords(QString text);

// The system's words for an errno value in Title Case ("No Space Left On Device").
QString SystemErrorText(int error);
