// Types into a note and saves it now and then, as a person would, through the
// program's own editor, recovery keeper and save routine, until it is killed.
// Each line on standard output says what it did and when (CLOCK_MONOTONIC):
//   R                  the note is loaded; typing starts
//   T <ns> <chunk>     a chunk was typed ('|' stands for a line break)
//   S <ns> <chunks>    a save of the note with that many chunks begins
// Usage: kill_editing_helper NOTE SEED CHUNKS_PER_SAVE
#include "platform/editor_control.h"
#include "platform/qt_platform.h"
#include "settings/app_paths.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/recovery_keeper.h"
#include "subsystems/documents/recovery_store.h"
#include "support/recording_window.h"

#include <QApplication>
#include <QTextDocument>
#include <QTimer>

#include <ctime>
#include <random>
#include <unistd.h>

namespace {

long long MonotonicNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void Say(const QByteArray& line)
{
    const QByteArray whole = line + '\n';
    [[maybe_unused]] const ssize_t put = ::write(STDOUT_FILENO, whole.constData(), size_t(whole.size()));
}

QString RandomChunk(std::mt19937& random)
{
    QString word;
    const int letters = 1 + int(random() % 8);
    for (int i = 0; i < letters; ++i)
        word += QChar(u'a' + int(random() % 26));
    return word + (random() % 8 == 0 ? u'\n' : u' ');
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 4)
        return 2;
    std::mt19937 random(std::uint32_t(std::stoul(argv[2])));
    const unsigned chunksPerSave = unsigned(std::max(1, std::stoi(argv[3])));
    Settings settings;
    DocumentState document;
    QtPlatform platform;
    EditorControl editor;
    RecordingWindow window;
    NoteStorage storage;
    RecoveryStore store(FindRecoveryDirectories(), storage);
    DocumentContext context{settings, document, platform, editor, window, storage};
    RecoveryKeeper keeper(context, store);
    if (ReadNoteFile(context, QString::fromLocal8Bit(argv[1]), false).outcome != ReadOutcome::Loaded)
        return 3;
    Say("R");

    int chunks = 0;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        const QString chunk = RandomChunk(random);
        editor.moveCursor(QTextCursor::End);
        editor.insertPlainText(chunk);
        ++chunks;
        Say("T " + QByteArray::number(MonotonicNanoseconds()) + ' ' + QString(chunk).replace(u'\n', u'|').toUtf8());
        if (random() % chunksPerSave == 0) {
            Say("S " + QByteArray::number(MonotonicNanoseconds()) + ' ' + QByteArray::number(chunks));
            SaveDocument(context);
        }
        typing.start(20 + int(random() % 40));
    });
    typing.start(20);
    return QApplication::exec();
}
