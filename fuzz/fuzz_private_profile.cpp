// The input is a SCRIBLET.INI file. It is parsed, its settings are loaded and
// written back together with pieces of its own text, and the result is
// serialised and parsed again: every written value must read back as the
// profile's reading documents it, and every other key as it was.

#include "fuzz_report.h"
#include "settings/numeric_text.h"
#include "settings/private_profile.h"
#include "settings/settings.h"
#include "settings/text_encoding.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// The buffers settings.cpp reads with.
constexpr int TextBuffer = 256;
constexpr int NumberBuffer = 16;
// Large enough that nothing in a fuzz input is cut.
constexpr int WholeValue = 1 << 20;
constexpr qsizetype MostKeysChecked = 32;

const QString ProgramDirectory = QStringLiteral("/opt/scriblet");

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

QString LineBreaksAsBlanks(QString text) { return text.replace(u'\r', u' ').replace(u'\n', u' '); }

// What a buffer of the given size holds of a value: no half of a surrogate pair.
QString Cut(const QString& value, int buffer)
{
    qsizetype length = qMin<qsizetype>(value.size(), buffer - 1);
    if (length > 0 && length < value.size() && value[length - 1].isHighSurrogate() && value[length].isLowSurrogate())
        --length;
    return value.left(length);
}

// The documented reading of a value as it was written: a line break is a
// blank, surrounding blanks and one pair of surrounding quotes go.
QString DocumentedReading(const QString& written, int buffer)
{
    QString value = TrimBlanks(LineBreaksAsBlanks(written));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return Cut(value, buffer);
}

struct Key
{
    QString section;
    QString key;
};

bool SameKey(const Key& a, const Key& b)
{
    return a.section.compare(b.section, Qt::CaseInsensitive) == 0 && a.key.compare(b.key, Qt::CaseInsensitive) == 0;
}

QStringList LinesOf(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// Every key of the file under a section, as the INI format reads them.
QList<Key> KeysOfFile(const QByteArray& bytes)
{
    QList<Key> keys;
    QString section;
    bool inSection = false;
    QString text = DecodeText(bytes).text;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& line : LinesOf(text)) {
        const QString trimmed = TrimBlanks(line);
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            section = TrimBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1));
            inSection = true;
        } else if (inSection && line.contains(u'=') && keys.size() < MostKeysChecked) {
            keys.append({section, TrimBlanks(line.left(line.indexOf(u'=')))});
        }
    }
    return keys;
}

// FNV-1a: the choices a run makes depend on the input alone.
std::uint64_t InputHash(const QByteArray& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return hash;
}

// A piece of the text that splits no surrogate pair, placed by the hash.
QString PieceOf(const QString& text, std::uint64_t hash)
{
    if (text.isEmpty())
        return {};
    qsizetype start = qsizetype(hash % std::uint64_t(text.size()));
    qsizetype end = start + qsizetype((hash >> 20) % 400);
    end = qMin(end, text.size());
    if (start > 0 && text[start].isLowSurrogate())
        --start;
    if (end < text.size() && text[end].isLowSurrogate())
        ++end;
    return text.mid(start, end - start);
}

struct Written
{
    Key key;
    QString expected;
    int buffer;
};

void ExpectReadings(const PrivateProfile& profile, const QList<Written>& written, const char* where)
{
    for (const Written& w : written) {
        const QString read = profile.readString(w.key.section, w.key.key, w.buffer);
        if (read != w.expected)
            PropertyFailed(where, {{"key", w.key.key}, {"read", read}, {"expected", w.expected}});
    }
}

void ExpectSameNumber(double before, double after, const char* key)
{
    if (before != after)
        PropertyFailed("a number reads back as written",
                       {{"key", QString::fromLatin1(key)}, {"written", QString::number(before, 'g', 17)},
                        {"read", QString::number(after, 'g', 17)}});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::uint64_t hash = InputHash(bytes);
    const bool commandLineNamedDocument = (hash & 1) != 0;
    const bool minimized = (hash & 2) != 0;
    const QString text = DecodeText(bytes).text;

    const PrivateProfile original = PrivateProfile::fromBytes(bytes);
    PrivateProfile profile = original;
    Settings settings;
    LoadSettings(settings, profile, ProgramDirectory, commandLineNamedDocument);

    // Texts from the input itself: blanks, quotes, line breaks, long values.
    settings.Glossary1 = PieceOf(text, hash >> 8);
    settings.Signature = PieceOf(text, hash >> 24);
    if ((hash & 4) != 0)
        settings.File3 = text;
    EditorAppearanceValues appearance;
    appearance.backColor = settings.BackColor;
    appearance.fontName = settings.FontName;
    appearance.fontSize = settings.FontSize;
    appearance.bold = (hash & 8) != 0;
    appearance.italic = settings.FontItalic.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0;
    WriteSettings(profile, settings, appearance, minimized);

    QList<Written> written;
    const auto textKey = [&](const char* key, const QString& value) {
        written.append({{SettingsSection, QString::fromLatin1(key)}, Cut(LineBreaksAsBlanks(value), TextBuffer), TextBuffer});
    };
    const auto numberKey = [&](const char* key, double value) {
        written.append({{SettingsSection, QString::fromLatin1(key)}, DocumentedReading(NumberValueText(value), NumberBuffer),
                        NumberBuffer});
    };
    if (!minimized) {
        numberKey("Left", settings.Left);
        numberKey("Top", settings.Top);
        numberKey("Width", settings.Width);
        numberKey("Height", settings.Height);
    }
    numberKey("OnTop", settings.OnTop);
    numberKey("AutoSave", settings.AutoSave);
    numberKey("AutoSaveTime", settings.AutoSaveTime);
    numberKey("TimerBeep", settings.TimerBeep);
    numberKey("BeepTime", settings.BeepTime);
    numberKey("ButtonBar", settings.ButtonBar);
    if (settings.FileName != UntitledFileName)
        textKey("FileName", settings.FileName);
    textKey("File1", settings.File1);
    textKey("File2", settings.File2);
    textKey("File3", settings.File3);
    textKey("Glossary1", settings.Glossary1);
    textKey("Glossary2", settings.Glossary2);
    textKey("Glossary3", settings.Glossary3);
    textKey("Signature", settings.Signature);
    numberKey("FileInTitle", settings.FileInTitle);
    numberKey("BackColor", appearance.backColor);
    textKey("FontName", appearance.fontName);
    numberKey("FontSize", appearance.fontSize);
    textKey("FontBold", appearance.bold ? QStringLiteral("True") : QStringLiteral("False"));
    textKey("FontItalic", appearance.italic ? QStringLiteral("True") : QStringLiteral("False"));

    // Written as they are, not as the settings quote them.
    const auto raw = [&](const QString& section, const char* key, const QString& value) {
        profile.writeString(section, QString::fromLatin1(key), value);
        written.append({{section, QString::fromLatin1(key)}, DocumentedReading(value, TextBuffer), TextBuffer});
    };
    raw(SettingsSection, "Extra", PieceOf(text, hash >> 40));
    raw(QStringLiteral("Other"), "Value", PieceOf(text, hash >> 48));

    ExpectReadings(profile, written, "a written value reads back in memory as documented");
    const QByteArray saved = profile.toBytes();
    const PrivateProfile reread = PrivateProfile::fromBytes(saved);
    ExpectReadings(reread, written, "a written value reads back from the saved bytes as documented");
    if (reread.toBytes() != saved)
        PropertyFailed("saved bytes come back byte for byte",
                       {{"saved", QString::fromLatin1(saved.toHex())}, {"again", QString::fromLatin1(reread.toBytes().toHex())}});

    for (const Key& key : KeysOfFile(bytes)) {
        bool wasWritten = false;
        for (const Written& w : written)
            wasWritten = wasWritten || SameKey(w.key, key);
        if (wasWritten)
            continue;
        const QString before = original.readString(key.section, key.key, WholeValue);
        const QString after = reread.readString(key.section, key.key, WholeValue);
        if (before != after)
            PropertyFailed("every other key reads back untouched",
                           {{"section", key.section}, {"key", key.key}, {"before", before}, {"after", after}});
    }

    Settings again;
    LoadSettings(again, reread, ProgramDirectory, commandLineNamedDocument);
    if (!minimized) {
        ExpectSameNumber(settings.Left, again.Left, "Left");
        ExpectSameNumber(settings.Top, again.Top, "Top");
        ExpectSameNumber(settings.Width, again.Width, "Width");
        ExpectSameNumber(settings.Height, again.Height, "Height");
    }
    ExpectSameNumber(settings.OnTop, again.OnTop, "OnTop");
    ExpectSameNumber(settings.AutoSave, again.AutoSave, "AutoSave");
    ExpectSameNumber(settings.AutoSaveTime, again.AutoSaveTime, "AutoSaveTime");
    ExpectSameNumber(settings.TimerBeep, again.TimerBeep, "TimerBeep");
    ExpectSameNumber(settings.BeepTime, again.BeepTime, "BeepTime");
    ExpectSameNumber(settings.ButtonBar, again.ButtonBar, "ButtonBar");
    ExpectSameNumber(settings.FileInTitle, again.FileInTitle, "FileInTitle");
    ExpectSameNumber(appearance.backColor, again.BackColor, "BackColor");
    // A font size whose text fits the number buffer comes back exactly.
    if (std::isfinite(appearance.fontSize) && TrimBlanks(NumberValueText(appearance.fontSize)).size() < NumberBuffer)
        ExpectSameNumber(appearance.fontSize, again.FontSize, "FontSize");
    return 0;
}
