#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <utility>

// A text as one printable line: anything outside printable ASCII as \uXXXX,
// so blanks, line breaks and surrogates show in the report.
inline QByteArray Shown(const QString& text)
{
    QByteArray shown = "\"";
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"')
            shown += char(unit);
        else
            shown += QByteArray("\\u") + QByteArray::number(unit, 16).rightJustified(4, '0');
    }
    return shown + '"';
}

// A broken property stops the run as a crash, so libFuzzer keeps the input.
[[noreturn]] inline void PropertyFailed(const char* property,
                                        std::initializer_list<std::pair<const char*, QString>> values = {})
{
    std::fprintf(stderr, "\n*** property failed: %s\n", property);
    for (const auto& [name, value] : values)
        std::fprintf(stderr, "    %s = %s\n", name, Shown(value).constData());
    std::fflush(stderr);
    std::abort();
}
