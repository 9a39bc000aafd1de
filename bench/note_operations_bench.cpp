// Times the program's own routines on a note of the largest size a note file
// holds, in a real main window on the offscreen platform: opening the note
// into the editor, one Find Next, a save on disk and on tmpfs, and cutting
// the note into printed pages.
#include "goal_table.h"
#include "iteration_timing.h"
#include "median.h"
#include "sample_note.h"
#include "silent_platform.h"

#include "platform/editor_control.h"
#include "settings/private_profile.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/print_layout.h"
#include "subsystems/editing/find.h"
#include "window/app_state.h"
#include "window/form5.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

constexpr int LinesPerPrintedPage = 60;

struct Options
{
    int iterations = 101;
    QString diskDirectory;
    QString memoryDirectory = QStringLiteral("/dev/shm");
};

Options ParseOptions(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--iterations"))
            options.iterations = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--disk-dir"))
            options.diskDirectory = arguments[i + 1];
        else if (arguments[i] == QLatin1String("--memory-dir"))
            options.memoryDirectory = arguments[i + 1];
    }
    if (options.iterations < 1 || options.diskDirectory.isEmpty())
        throw std::invalid_argument(
            "usage: note_operations_bench --disk-dir DIR [--memory-dir DIR] [--iterations N]");
    return options;
}

void Require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

bool OnTmpfs(const QString& path)
{
    struct statfs info{};
    return statfs(QFile::encodeName(path).constData(), &info) == 0 && info.f_type == TMPFS_MAGIC;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), QStringLiteral("cannot read ") + path);
    return file.readAll();
}

// A directory for the note, removed with everything in it at the end.
class NoteDirectory
{
public:
    NoteDirectory(const QString& parent, const QByteArray& note)
        : m_directory(parent + QStringLiteral("/scriblet-bench-XXXXXX"))
    {
        Require(m_directory.isValid(), QStringLiteral("cannot make a directory in ") + parent);
        QFile file(notePath());
        Require(file.open(QIODevice::WriteOnly) && file.write(note) == note.size(),
                QStringLiteral("cannot write ") + notePath());
    }

    QString notePath() const { return m_directory.filePath(QStringLiteral("BENCH.SCB")); }
    // Every name in the directory: a save must leave no probe or temporary file behind.
    QStringList entries() const
    {
        return QDir(m_directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_directory;
};

// The program's main window with the settings a missing settings file gives;
// it starts with an untitled note.
class BenchWindow
{
public:
    BenchWindow()
    {
        LoadSettings(m_state.settings, PrivateProfile(QString()), QString(), false);
        m_window = std::make_unique<Form5>(m_state, m_platform);
        m_window->load();
        m_window->show();
        QCoreApplication::processEvents();
    }

    SilentPlatform& platform() { return m_platform; }
    AppState& state() { return m_state; }
    EditorControl& editor() { return m_window->editor(); }
    DocumentContext document() { return m_window->documentContext(); }

    void requireNoMessage(const QString& routine) const
    {
        if (m_platform.messages.isEmpty())
            return;
        const QString said = routine + QStringLiteral(" said: ") + m_platform.messages.front().text;
        throw std::runtime_error(said.toStdString());
    }

private:
    SilentPlatform m_platform;
    AppState m_state;
    std::unique_ptr<Form5> m_window;
};

struct Timing
{
    std::string figure;
    std::vector<double> milliseconds;
    double goal = 0;
};

void RunEvents() { QCoreApplication::processEvents(); }

Timing TimeOpen(BenchWindow& bench, const NoteDirectory& notes, int iterations)
{
    bench.platform().noteToOpen = notes.notePath();
    DocumentContext document = bench.document();
    const std::vector<double> times = TimeIterations(iterations, RunEvents, [&document] { FileOpen(document); });
    bench.requireNoMessage(QStringLiteral("File > Open"));
    Require(document.settings.FileName == notes.notePath() && bench.editor().textLength() == NoteFileSizeLimit - 1,
            QStringLiteral("the note was not opened whole"));
    return {"Open (File > Open into the editor)", times, 10};
}

Timing TimeFindNext(BenchWindow& bench, int iterations)
{
    const QString text = bench.editor().text();
    FindState& find = bench.state().find;
    find.FindText = SampleSearchWord;
    find.FindResume = 0;
    // Back to the top before a step that would find nothing: every step times a hit.
    const auto wrap = [&] {
        RunEvents();
        if (text.indexOf(SampleSearchWord, find.FindResume, Qt::CaseInsensitive) < 0)
            find.FindResume = 0;
    };
    const std::vector<double> times = TimeIterations(
        iterations, wrap, [&] { EditFindNext(find, bench.editor(), bench.platform()); });
    bench.requireNoMessage(QStringLiteral("Find Next"));
    Require(bench.editor().selectedText().compare(SampleSearchWord, Qt::CaseInsensitive) == 0,
            QStringLiteral("Find Next did not select the word"));
    return {"Find Next (\"" + SampleSearchWord.toStdString() + "\", "
                + std::to_string(text.count(SampleSearchWord, Qt::CaseInsensitive)) + " in the note)",
            times, 1};
}

Timing TimeSave(BenchWindow& bench, const NoteDirectory& notes, const QByteArray& note, int iterations,
                const std::string& figure, double goal)
{
    bench.platform().noteToOpen = notes.notePath();
    DocumentContext document = bench.document();
    FileOpen(document);
    const auto save = [&document] { Require(SaveDocument(document), QStringLiteral("the save failed")); };
    const std::vector<double> times = TimeIterations(iterations, RunEvents, save);
    bench.requireNoMessage(QStringLiteral("Save"));
    Require(ReadBytes(notes.notePath()) == note, QStringLiteral("the saved note differs from the one opened"));
    Require(notes.entries() == QStringList{QStringLiteral("BENCH.SCB")}, QStringLiteral("a save left files behind"));
    return {figure, times, goal};
}

Timing TimePaginate(BenchWindow& bench, int iterations)
{
    const QString text = bench.editor().text();
    qsizetype pages = 0;
    const std::vector<double> times = TimeIterations(
        iterations, RunEvents, [&] { pages = PrintPageBlocks(text, LinesPerPrintedPage).size(); });
    Require(pages > 1, QStringLiteral("the note fits one page"));
    return {"Paginate (" + std::to_string(LinesPerPrintedPage) + " lines a page, " + std::to_string(pages)
                + " pages)",
            times, 1};
}

GoalRow RowFor(const Timing& timing)
{
    const double median = Median(timing.milliseconds);
    const auto [low, high] = std::minmax_element(timing.milliseconds.begin(), timing.milliseconds.end());
    return {{timing.figure, FormatNumber(median, 3, "ms"), FormatNumber(*low, 3) + " - " + FormatNumber(*high, 3),
             "under " + FormatNumber(timing.goal, 0, "ms")},
            median < timing.goal};
}

int Run(const Options& options)
{
    const QByteArray note = SampleNoteBytes(NoteFileSizeLimit);
    Require(note.size() == NoteFileSizeLimit && note.endsWith("\r\n\x1A"), QStringLiteral("bad sample note"));
    const NoteDirectory onDisk(options.diskDirectory, note);
    const NoteDirectory inMemory(options.memoryDirectory, note);
    const std::string diskLabel = OnTmpfs(options.diskDirectory) ? "tmpfs, NOT disk" : "disk";
    const std::string memoryLabel = OnTmpfs(options.memoryDirectory) ? "tmpfs" : "NOT tmpfs";
    BenchWindow bench;
    const int n = options.iterations;
    const std::vector<Timing> timings{
        TimeOpen(bench, onDisk, n),
        TimeFindNext(bench, n),
        TimeSave(bench, onDisk, note, n, "Save on " + diskLabel + ", with fsyncs", 20),
        TimeSave(bench, inMemory, note, n, "Save on " + memoryLabel + " (" + options.memoryDirectory.toStdString()
                                               + "), without fsyncs", 1),
        TimePaginate(bench, n),
    };
    std::vector<GoalRow> rows;
    for (const Timing& timing : timings)
        rows.push_back(RowFor(timing));
    const std::string title = "Note operations on a " + std::to_string(note.size()) + "-byte note ("
        + std::to_string(note.count("\r\n")) + " lines), median of " + std::to_string(n)
        + " iterations, offscreen";
    return PrintGoalTable(title, {"Figure", "Median", "min - max (ms)", "Goal"}, rows) == 0 ? 0 : GoalsMissedStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        return Run(ParseOptions(QCoreApplication::arguments()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "note_operations_bench: %s\n", error.what());
        return 1;
    }
}
