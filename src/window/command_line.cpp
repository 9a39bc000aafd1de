#include "window/command_line.h"

#include <QFile>
#include <QStringList>

namespace {

QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

CommandLineWords ParseCommandLine(const QString& text)
{
    CommandLineWords words;
    QString remaining = TrimBlanks(text);
    int entry = 0;
    while (!remaining.isEmpty()) {
        const qsizetype blank = remaining.indexOf(u' ');
        if (blank < 0 || entry == CommandLineEntries - 1) {
            words[entry] = remaining.split(u' ', Qt::SkipEmptyParts).join(u' ');
            break;
        }
        words[entry++] = remaining.left(blank);
        remaining = TrimBlanks(remaining.mid(blank + 1));
    }
    return words;
}

QString DocumentPathFromWords(const CommandLineWords& words)
{
    QString path;
    for (const QString& word : words) {
        if (word.isEmpty())
            break;
        if (!path.isEmpty())
            path += u' ';
        path += TrimBlanks(word);
    }
    return path;
}

CommandLineDocument DocumentFromArguments(const QByteArrayList& arguments)
{
    CommandLineDocument document;
    QStringList texts;
    for (const QByteArray& argument : arguments) {
        texts.append(QFile::decodeName(argument));
        if (QFile::encodeName(texts.back()) != argument)
            document.nameUnusable = true;
    }
    if (texts.size() == 1)
        document.path = texts.front();
    else
        document.path = DocumentPathFromWords(ParseCommandLine(texts.join(u' ')));
    return document;
}

CommandLineOptions ReadCommandLineOptions(const QByteArrayList& arguments)
{
    CommandLineOptions options;
    const QByteArray first = arguments.value(0);
    if (first == "--help")
        options.request = CommandLineRequest::ShowUsage;
    else if (first == "--version")
        options.request = CommandLineRequest::ShowVersion;
    options.noteArguments = first == "--" ? arguments.mid(1) : arguments;
    return options;
}

QByteArray CommandLineUsage()
{
    return "Usage: scriblet [--] [NOTE]\n"
           "       scriblet --help | --version\n"
           "\n"
           "Opens the note file NOTE (.SCB or .TXT, at most 29 995 bytes) in Scriblet's\n"
           "editor. Without NOTE, the note open at the last exit is opened again (at the\n"
           "first start, the welcome note). Several words are joined by single blanks into\n"
           "one name. \"--\" first opens a note named like an option: scriblet -- --help\n"
           "\n"
           "  --help     show this text and exit\n"
           "  --version  show the version and exit\n";
}

QByteArray CommandLineVersion()
{
    return "Scriblet 2.0\n";
}
