#include "platform/system_error_text.h"

#include <cstring>

QString TitleCaseWords(QString text)
{
    bool wordStart = true;
    for (QChar& c : text) {
        if (wordStart && c.isLower())
            c = c.toUpper();
        wordStart = c.isSpace() || c == u'(' || c == u'-' || c == u'/';
    }
    return text;
}

QString SystemErrorText(int error) { return TitleCaseWords(QString::fromLocal8Bit(std::strerror(error))); }
