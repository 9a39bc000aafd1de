#include "platform/system_error_text.h"

#include <cstring>

QString SystemErrorText(int error)
{
    QString text = QString::fromLocal8Bit(std::strerror(error));
    bool wordStart = true;
    for (QChar& c : text) {
        if (wordStart && c.isLower())
            c = c.toUpper();
        wordStart = c.isSpace() || c == u'(' || c == u'-' || c == u'/';
    }
    return text;
}
