#include "platform/editor_control.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/quick_files.h"
#include "subsystems/documents/save_changes.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

class UnreadableStorage : public NoteStorage
{
public:
    NoteReadResult read(const QString&, qint64, bool) override { return {EACCES, false, {}}; }
};

class FullDiskStorage : public NoteStorage
{
protected:
    ssize_t writeSome(int, const char*, size_t) override
    {
        errno = ENOSPC;
        return -1;
    }
};

// Cannot give a new file the note's owner, so it writes in place; the disk then fills up.
class InPlaceFullDiskStorage : public NoteStorage
{
protected:
    int stepFailure(SaveStep step) override
    {
        return step == SaveStep::ChangeOwner ? EPERM : step == SaveStep::Write ? ENOSPC : 0;
    }
};

// Fails the first call of one step of a save with one error.
class FailsOnceStorage : public NoteStorage
{
public:
    FailsOnceStorage(SaveStep step, int error)
        : m_step(step)
        , m_error(error)
    {
    }

protected:
    int stepFailure(SaveStep step) override
    {
        if (step != m_step || m_failed)
            return 0;
        m_failed = true;
        return m_error;
    }

private:
    SaveStep m_step;
    int m_error;
    bool m_failed = false;
};

class ReadOnlyMediumStorage : public NoteStorage
{
public:
    int probe(const QString&) override { return EROFS; }
};

const QString TooLargeTail = QStringLiteral(" Is Too Large To Use.  Please Select Another File Or Start A New One.");
const QString ExtensionMessage = QStringLiteral(
    "All File Names Used With Scriblet Must Use A .SCB Or .TXT Extension.  This Protects Against Accidental "
    "Editing Of Non-ASCII Document  And Executable Files.");
const QString ReadOnlyMessage = QStringLiteral(
    "The Target Is A Read-Only Medium Such As A CD-ROM Or Write-protected Floppy Disk.  Please Select Another "
    "Location To Store The File.");
const QHash<int, QString> ReasonsShown{{ENOSPC, "No Space Left On Device"}, {EIO, "Input/Output Error"},
                                      {EACCES, "Permission Denied"}, {EROFS, "Read-Only File System"}};

} // namespace

// The parts of the program's state that the document commands work on.
struct DocumentsState
{
    Settings settings;
    DocumentState document;
};

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readRespectsTheSizeLimit_data();
    void readRespectsTheSizeLimit();
    void endOfFileByteIsDroppedOnce_data();
    void endOfFileByteIsDroppedOnce();
    void loadAndSaveGiveTheSameBytes_data();
    void loadAndSaveGiveTheSameBytes();
    void windowsTextThatGainsAnyCharacterBecomesUtf8();
    void everyLineEndIsWrittenAsCrLf();
    void oddFileNamesWork();
    void unreadableFileGoesThroughTheErrorTable();

    void openLoadsTheChosenFile();
    void openRefusesBadChoices_data();
    void openRefusesBadChoices();
    void openCompletesANameWithoutExtension();
    void openRetriesWithTheNameEnteredAfterAnError();
    void guardDecides_data();
    void guardDecides();

    void startupFallsBackToAnUntitledDocument_data();
    void startupFallsBackToAnUntitledDocument();
    void startupInAMissingDirectoryAsksForAnotherName();

    void saveAsksForANameWhenUntitled();
    void saveNamingLoop();
    void saveRefusesUnwritableTargets();
    void saveWritesTheEndOfFileByteOnce_data();
    void saveWritesTheEndOfFileByteOnce();
    void saveRewritesAnUnchangedDocument();
    void failedWriteKeepsTheOldFileAndTheChangedFlag();
    void failedWriteInPlaceNamesTheKeptCopy();
    void everyFailingStepOfASaveIsReported_data();
    void everyFailingStepOfASaveIsReported();
    void failedSaveAsKeepsTheName();
    void noteTooLongForANoteFileIsNeverWritten_data();
    void noteTooLongForANoteFileIsNeverWritten();
    void unaskedSaveRefusesATooLongTextOnce();
    void textReadsBackTheSameAfterASave();

    void failedSaveAfterYesStopsTheGuard();
    void newDocument();

    void addressFileIsCreatedOnFirstUse();
    void quickFileSwitchSavesFirst();
    void quickFileSwitchNeverLosesUnsavedText();
    void quickFileErrors();

private:
    DocumentContext& context() { return *m_context; }
    DocumentContext contextWith(NoteStorage& storage)
    {
        return {m_state->settings, m_state->document, *m_platform, *m_editor, *m_window, storage};
    }
    QString file(const QString& name) const { return m_dir->path() + u'/' + name; }
    void loadNote(const QString& name, const QByteArray& bytes);
    QString lastMessage() const { return m_platform->messages.isEmpty() ? QString() : m_platform->messages.last().text; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DocumentsState> m_state;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<EditorControl> m_editor;
    std::unique_ptr<RecordingWindow> m_window;
    std::unique_ptr<NoteStorage> m_storage;
    std::unique_ptr<DocumentContext> m_context;
};

void TestDocuments::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<DocumentsState>();
    m_state->settings.FileInTitle = 1;
    m_state->settings.FileName = UntitledFileName;
    m_state->document.ProgramDirectory = file("data");
    QDir().mkpath(m_state->document.ProgramDirectory);
    m_platform = std::make_unique<ScriptedPlatform>();
    m_editor = std::make_unique<EditorControl>();
    m_window = std::make_unique<RecordingWindow>();
    m_storage = std::make_unique<NoteStorage>();
    m_context = std::make_unique<DocumentContext>(contextWith(*m_storage));
}

void TestDocuments::cleanup()
{
    m_context.reset();
    m_editor.reset();
    m_window.reset();
}

void TestDocuments::loadNote(const QString& name, const QByteArray& bytes)
{
    WriteFileBytes(file(name), bytes);
    QCOMPARE(ReadNoteFile(context(), file(name), false).outcome, ReadOutcome::Loaded);
}

void TestDocuments::readRespectsTheSizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("loads");
    QTest::newRow("29 995 bytes load") << 29995 << true;
    QTest::newRow("29 996 bytes are refused") << 29996 << false;
}

void TestDocuments::readRespectsTheSizeLimit()
{
    QFETCH(int, size);
    QFETCH(bool, loads);
    loadNote("current.scb", "current");
    WriteFileBytes(file("big.scb"), QByteArray(size, 'b'));
    const ReadAttempt attempt = ReadNoteFile(context(), file("big.scb"), false);
    QCOMPARE(attempt.outcome, loads ? ReadOutcome::Loaded : ReadOutcome::TooLarge);
    QCOMPARE(m_editor->textLength(), loads ? size : 7);
    QCOMPARE(m_state->settings.FileName, file(loads ? "big.scb" : "current.scb"));
    QCOMPARE(lastMessage(), loads ? QString() : QStringLiteral("File ") + file("big.scb") + TooLargeTail);
    if (!loads)
        QCOMPARE(m_platform->messages.last().icon, MessageIcon::Stop);
}

void TestDocuments::endOfFileByteIsDroppedOnce_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("marker dropped") << QByteArray("abc\x1a") << "abc";
    QTest::newRow("no marker: last character kept") << QByteArray("abc") << "abc";
    QTest::newRow("only one marker dropped") << QByteArray("abc\x1a\x1a") << "abc\x1a";
    QTest::newRow("marker alone") << QByteArray("\x1a") << "";
    QTest::newRow("marker inside kept") << QByteArray("a\x1a" "b") << "a\x1a" "b";
}

void TestDocuments::endOfFileByteIsDroppedOnce()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    m_editor->setText("x");
    m_editor->setModified(true);
    loadNote("n.scb", bytes);
    QCOMPARE(m_editor->text(), text);
    QVERIFY(!IsDocumentChanged(context()));
}

void TestDocuments::loadAndSaveGiveTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8 with CR LF and the marker") << QByteArray("Caf\xc3\xa9 list\r\n- milk\r\n\r\n\x1a");
    QTest::newRow("Windows-1252 with CR LF and the marker") << QByteArray("Caf\xe9 \x80 5\r\n\x93quoted\x94\r\n\x1a");
    QTest::newRow("empty note") << QByteArray("\x1a");
    QTest::newRow("bytes that are no text") << QByteArray("\x01\x02\x81\x8d\x8f\x90\x9d\xff\r\n\x1a");
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\x1a", 6);
}

void TestDocuments::loadAndSaveGiveTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    loadNote("round.scb", bytes);
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("round.scb")), bytes);
}

void TestDocuments::windowsTextThatGainsAnyCharacterBecomesUtf8()
{
    loadNote("w.scb", "caf\xe9\r\n\x1a");
    m_editor->setSelectionStart(m_editor->textLength());
    m_editor->replaceSelection(QString::fromUtf8("\u263a \u20ac"));
    QVERIFY(SaveDocument(context()));
    const QByteArray saved = ReadFileBytes(file("w.scb"));
    QCOMPARE(saved, QByteArray("caf\xc3\xa9\r\n\xe2\x98\xba \xe2\x82\xac\x1a"));
    QVERIFY(!saved.contains('?'));
    QCOMPARE(m_state->document.DocumentEncoding, TextEncoding::Utf8);
}

void TestDocuments::everyLineEndIsWrittenAsCrLf()
{
    loadNote("ends.txt", "unix\nmac\rwindows\r\nend");
    QCOMPARE(m_editor->text(), QStringLiteral("unix\r\nmac\r\nwindows\r\nend"));
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("ends.txt")), QByteArray("unix\r\nmac\r\nwindows\r\nend\x1a"));
}

void TestDocuments::oddFileNamesWork()
{
    const QString name = QString::fromUtf8("we \"ird\" *names* Grüße 'x'");
    m_editor->setText("odd");
    m_platform->saveFileAnswers = {file(name)};
    QVERIFY(SaveDocument(context()));
    QCOMPARE(m_state->settings.FileName, file(name + ".SCB"));
    QCOMPARE(m_window->title(), name + ".SCB");
    m_editor->setText(QString());
    m_platform->openFileAnswers = {file(name + ".SCB")};
    FileOpen(context());
    QCOMPARE(m_editor->text(), QStringLiteral("odd"));

    const QString longPath = file(QString(4000, u'n') + ".scb");
    m_platform->openFileAnswers = {longPath};
    FileOpen(context());
    QCOMPARE(lastMessage(), "File: " + longPath + " Not Found Or Empty");
    QCOMPARE(m_editor->text(), QStringLiteral("odd"));
}

void TestDocuments::unreadableFileGoesThroughTheErrorTable()
{
    loadNote("current.scb", "current");
    WriteFileBytes(file("secret.scb"), "secret");
    UnreadableStorage unreadable;
    DocumentContext withoutAccess = contextWith(unreadable);
    m_platform->openFileAnswers = {file("secret.scb")};
    FileOpen(withoutAccess);
    QCOMPARE(m_platform->calls.last(), QStringLiteral("askText:SCRBL32:File was not found. Try again."));
    QCOMPARE(m_editor->text(), QStringLiteral("current"));
    QCOMPARE(m_state->settings.FileName, file("current.scb"));
}

void TestDocuments::openLoadsTheChosenFile()
{
    WriteFileBytes(file("ann.lee/MEMO.SCB"), "first\r\nsecond\x1a");
    m_platform->openFileAnswers = {file("ann.lee/MEMO.SCB")};
    FileOpen(context());
    QCOMPARE(m_platform->calls.first(), QStringLiteral("chooseFileToOpen:Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt"));
    QCOMPARE(m_editor->text(), QStringLiteral("first\r\nsecond"));
    QCOMPARE(m_editor->selectionStart(), 12); // before the last character
    QCOMPARE(m_editor->selectionLength(), 0);
    QCOMPARE(m_window->title(), QStringLiteral("MEMO.SCB"));
    QCOMPARE(m_state->settings.FileName, file("ann.lee/MEMO.SCB"));
    QVERIFY(m_platform->messages.isEmpty());
}

void TestDocuments::openRefusesBadChoices_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: no such file
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong extension") << "report.doc" << QByteArray("x") << ExtensionMessage;
    QTest::newRow("missing") << "gone.scb" << QByteArray() << "File: %1 Not Found Or Empty";
    QTest::newRow("empty") << "empty.txt" << QByteArray("") << "File: %1 Not Found Or Empty";
    QTest::newRow("too large") << "big.scb" << QByteArray(29996, 'x') << "File %1" + TooLargeTail;
}

void TestDocuments::openRefusesBadChoices()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    loadNote("current.scb", "current");
    if (!content.isNull())
        WriteFileBytes(file(name), content);
    m_platform->openFileAnswers = {file(name)};
    FileOpen(context());
    QCOMPARE(lastMessage(), message.contains("%1") ? message.arg(file(name)) : message);
    QCOMPARE(m_editor->text(), QStringLiteral("current"));
    QCOMPARE(m_state->settings.FileName, file("current.scb"));

    m_platform->openFileAnswers.clear(); // cancelling the dialog ends silently
    const qsizetype messages = m_platform->messages.size();
    FileOpen(context());
    QCOMPARE(m_platform->messages.size(), messages);
}

void TestDocuments::openCompletesANameWithoutExtension()
{
    WriteFileBytes(file("notes.SCB"), "found");
    m_platform->openFileAnswers = {file("notes")};
    FileOpen(context());
    QCOMPARE(m_editor->text(), QStringLiteral("found"));
    QCOMPARE(m_state->settings.FileName, file("notes.SCB"));
}

// "Try again" tries the name entered; it never renames the open document,
// whose next save would then overwrite the file the user wanted to open.
void TestDocuments::openRetriesWithTheNameEnteredAfterAnError()
{
    loadNote("current.scb", "current");
    QDir().mkpath(file("folder.scb"));
    WriteFileBytes(file("real.scb"), "real");
    m_platform->openFileAnswers = {file("folder.scb")};
    m_platform->textAnswers = {file("real.scb")};
    FileOpen(context());
    QVERIFY(m_platform->calls.contains("askText:SCRBL32:File was not found. Try again."));
    QCOMPARE(m_editor->text(), QStringLiteral("real"));
    QCOMPARE(m_state->settings.FileName, file("real.scb"));

    m_platform->openFileAnswers = {file("folder.scb")};
    FileOpen(context()); // the input box is cancelled this time
    QCOMPARE(m_editor->text(), QStringLiteral("real"));
    QCOMPARE(m_state->settings.FileName, file("real.scb"));

    // A name entered there passes the same checks as a chosen one.
    WriteFileBytes(file("script.sh"), "#!/bin/sh");
    m_platform->openFileAnswers = {file("folder.scb")};
    m_platform->textAnswers = {file("script.sh")};
    FileOpen(context());
    QCOMPARE(lastMessage(), ExtensionMessage);
    QCOMPARE(m_editor->text(), QStringLiteral("real"));
}

void TestDocuments::guardDecides_data()
{
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QByteArray>("onDisk");

    QTest::newRow("Cancel stops") << false << int(MessageAnswer::Cancel) << false << QByteArray("old\x1a");
    QTest::newRow("No goes on, nothing saved") << false << int(MessageAnswer::No) << true
                                               << QByteArray("old\x1a");
    QTest::newRow("Yes saves, then goes on") << false << int(MessageAnswer::Yes) << true
                                             << QByteArray("old!\x1a");
    QTest::newRow("Yes on untitled, dialog cancelled: stops, text kept")
        << true << int(MessageAnswer::Yes) << false << QByteArray();
}

void TestDocuments::guardDecides()
{
    QFETCH(bool, untitled);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(QByteArray, onDisk);

    loadNote("doc.scb", "old\x1a");
    if (untitled)
        m_state->settings.FileName = UntitledFileName;
    m_editor->setSelectionStart(3);
    QTest::keyClicks(m_editor.get(), "!");
    m_platform->messageAnswers = {MessageAnswer(answer)}; // an untitled note's save dialog is then cancelled
    QCOMPARE(GuardUnsavedChanges(context()), goesOn);
    const MessageBoxRequest& prompt = m_platform->messages.first();
    QCOMPARE(prompt.text, QStringLiteral("Do You Want To Save Changes?"));
    QCOMPARE(prompt.title, QStringLiteral("File Has Changed"));
    QCOMPARE(prompt.icon, MessageIcon::Question);
    QCOMPARE(prompt.buttons, MessageButtons::YesNoCancel);
    QCOMPARE(prompt.defaultAnswer, MessageAnswer::Yes);
    QCOMPARE(m_editor->text(), QStringLiteral("old!"));
    if (!onDisk.isNull())
        QCOMPARE(ReadFileBytes(file("doc.scb")), onDisk);

    m_editor->setModified(false); // an unchanged document passes without a question
    m_platform->messages.clear();
    QVERIFY(GuardUnsavedChanges(context()));
    QVERIFY(m_platform->messages.isEmpty());
}

void TestDocuments::startupFallsBackToAnUntitledDocument_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no such file
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fileAfterwards");
    QTest::newRow("missing") << QByteArray() << "File: %1 Not Found" << false;
    QTest::newRow("empty") << QByteArray("") << "File: %1 Not Found" << true;
    QTest::newRow("too large") << QByteArray(29996, 'x') << "File %1" + TooLargeTail << true;
}

void TestDocuments::startupFallsBackToAnUntitledDocument()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(bool, fileAfterwards);
    const QString path = file("start.scb");
    if (!content.isNull())
        WriteFileBytes(path, content);
    m_state->settings.FileName = path;
    LoadStartupDocument(context());
    QCOMPARE(lastMessage(), message.arg(path));
    QCOMPARE(m_state->settings.FileName, UntitledFileName);
    QCOMPARE(m_editor->text(), QString());
    QCOMPARE(QFile::exists(path), fileAfterwards);
}

void TestDocuments::startupInAMissingDirectoryAsksForAnotherName()
{
    WriteFileBytes(file("found.scb"), "found");
    m_state->settings.FileName = file("no/such/dir/start.scb");
    m_platform->textAnswers = {file("found.scb")};
    LoadStartupDocument(context());
    QCOMPARE(m_editor->text(), QStringLiteral("found"));
    QCOMPARE(m_state->settings.FileName, file("found.scb"));

    m_state->settings.FileName = file("no/such/dir/start.scb");
    LoadStartupDocument(context()); // the box is cancelled
    QCOMPARE(m_state->settings.FileName, UntitledFileName);
    QCOMPARE(m_editor->text(), QString());
}

void TestDocuments::saveAsksForANameWhenUntitled()
{
    m_editor->setText("new note");
    m_editor->setModified(true);
    m_platform->saveFileAnswers = {file("NOTES")};
    QVERIFY(SaveDocument(context()));
    QCOMPARE(m_platform->calls.first(), QStringLiteral("chooseFileToSave:Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt"));
    QCOMPARE(ReadFileBytes(file("NOTES.SCB")), QByteArray("new note\x1a"));
    QCOMPARE(m_state->settings.FileName, file("NOTES.SCB"));
    QCOMPARE(m_window->title(), QStringLiteral("NOTES.SCB"));
    QVERIFY(!IsDocumentChanged(context()));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"NOTES.SCB"}); // probe removed
}

void TestDocuments::saveNamingLoop()
{
    WriteFileBytes(file("empty.scb"), "");
    WriteFileBytes(file("full.scb"), "precious");
    m_editor->setText("text");

    // Refused extension, then an existing file answered No, then an existing empty file.
    m_platform->saveFileAnswers = {file("x.doc"), file("full.scb"), file("empty.scb")};
    m_platform->messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    QVERIFY(SaveDocument(context()));
    QCOMPARE(m_platform->count("chooseFileToSave:" + QStringLiteral("Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt")), 3);
    QCOMPARE(m_platform->messages.size(), 2);
    QCOMPARE(m_platform->messages[0].text, ExtensionMessage);
    QCOMPARE(m_platform->messages[0].title, QStringLiteral("Invalid File Extension"));
    const MessageBoxRequest& question = m_platform->messages[1];
    QCOMPARE(question.text, "Do You Want To Replace The Existing " + file("full.scb") + " ?");
    QCOMPARE(question.title, QStringLiteral("File Already Exists"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.defaultAnswer, MessageAnswer::No);
    QCOMPARE(ReadFileBytes(file("full.scb")), QByteArray("precious"));
    QCOMPARE(ReadFileBytes(file("empty.scb")), QByteArray("text\x1a"));

    // Save As onto the existing file, Yes; then a cancelled dialog writes nothing.
    m_state->document.SaveAsFlag = true;
    m_platform->saveFileAnswers = {file("full.scb")};
    m_platform->messageAnswers = {MessageAnswer::Yes};
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("full.scb")), QByteArray("text\x1a"));
    m_editor->setModified(true);
    QVERIFY(!SaveDocument(context()));
    QVERIFY(IsDocumentChanged(context()));
    QCOMPARE(m_state->settings.FileName, file("full.scb"));
}

void TestDocuments::saveRefusesUnwritableTargets()
{
    m_editor->setText("text");
    m_platform->saveFileAnswers = {file("missing/dir/a.scb")};
    QVERIFY(!SaveDocument(context()));
    QCOMPARE(lastMessage(), ReadOnlyMessage);
    QCOMPARE(m_platform->messages.last().title, QStringLiteral("Read-Only Target"));
    QCOMPARE(m_platform->count("chooseFileToSave:" + QStringLiteral("Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt")), 1); // no second dialog

    // A read-only file in a writable directory: the probe passes, the write is refused.
    WriteFileBytes(file("ro.scb"), "keep\x1a");
    QFile::setPermissions(file("ro.scb"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    loadNote("ro.scb", "keep\x1a");
    m_editor->replaceSelection("changed ");
    QVERIFY(!SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("ro.scb")), QByteArray("keep\x1a"));
    QVERIFY(IsDocumentChanged(context()));
    QCOMPARE(m_platform->messages.last().title, QStringLiteral("Save Failed"));

    // A plain Save probes too: nothing is written where the probe fails.
    loadNote("cd.scb", "on a cd\x1a");
    m_editor->replaceSelection("changed ");
    ReadOnlyMediumStorage cdRom;
    DocumentContext onCdRom = contextWith(cdRom);
    FileSave(onCdRom);
    QCOMPARE(lastMessage(), ReadOnlyMessage);
    QCOMPARE(ReadFileBytes(file("cd.scb")), QByteArray("on a cd\x1a"));
    QVERIFY(IsDocumentChanged(context()));
}

void TestDocuments::saveWritesTheEndOfFileByteOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty text is the marker alone") << "" << QByteArray("\x1a");
    QTest::newRow("marker added") << "a\r\nb" << QByteArray("a\r\nb\x1a");
    QTest::newRow("text already ends with the marker") << "a\x1a" << QByteArray("a\x1a");
}

void TestDocuments::saveWritesTheEndOfFileByteOnce()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    m_state->settings.FileName = file("eof.scb");
    m_editor->setText(text);
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("eof.scb")), bytes);
}

void TestDocuments::saveRewritesAnUnchangedDocument()
{
    loadNote("same.scb", "editor text");
    const NoteIdentity before = m_storage->look(file("same.scb"));
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("same.scb")), QByteArray("editor text\x1a"));
    QVERIFY(m_storage->look(file("same.scb")).inode != before.inode); // a new file took its place
    QVERIFY(m_platform->calls.isEmpty()); // no dialog, no question
}

void TestDocuments::failedWriteKeepsTheOldFileAndTheChangedFlag()
{
    loadNote("memo.scb", "old\x1a");
    m_editor->replaceSelection("new ");
    FullDiskStorage fullDisk;
    DocumentContext onFullDisk = contextWith(fullDisk);
    QVERIFY(!SaveDocument(onFullDisk));
    QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("old\x1a"));
    QVERIFY(IsDocumentChanged(context()));
    QCOMPARE(lastMessage(), "File " + file("memo.scb") + " Could Not Be Written (Writing: No Space Left On Device).  The Copy On Disk Is Unchanged.");
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"memo.scb"});
}

void TestDocuments::failedWriteInPlaceNamesTheKeptCopy()
{
    loadNote("shared.scb", "old text\x1a");
    m_editor->replaceSelection("new ");
    InPlaceFullDiskStorage storage;
    DocumentContext inPlace = contextWith(storage);
    QVERIFY(!SaveDocument(inPlace));
    QVERIFY(IsDocumentChanged(context()));
    const QStringList copies = QDir(m_dir->path()).entryList({"shared.scb.*"}, QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadFileBytes(file(copies[0])), QByteArray("old text\x1a"));
    QVERIFY(lastMessage().endsWith("  Its Previous Content Is Kept In " + file(copies[0]) + "."));
}

// Save As onto a target that cannot be written leaves the document under its own name.
void TestDocuments::everyFailingStepOfASaveIsReported_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<SaveStep>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("stepName");
    const QList<std::pair<SaveStep, QString>> renamePath = {
        {SaveStep::Open, "Opening"}, {SaveStep::Write, "Writing"}, {SaveStep::Sync, "Flushing It To Disk"},
        {SaveStep::Close, "Closing"}, {SaveStep::Rename, "Putting It In Place"},
        {SaveStep::DirectorySync, "Flushing Its Folder To Disk"}, {SaveStep::ChangeOwner, ""}};
    const QList<std::pair<SaveStep, QString>> inPlacePath = {
        {SaveStep::Copy, "Copying Its Old Content Aside"}, {SaveStep::Open, "Opening"}, {SaveStep::Write, "Writing"},
        {SaveStep::Sync, "Flushing It To Disk"}, {SaveStep::Close, "Closing"}};
    for (const int error : {ENOSPC, EIO, EACCES, EROFS}) {
        for (const auto& [step, name] : renamePath)
            QTest::addRow("new file, %s, errno %d", qPrintable(name), error) << false << step << error << name;
        for (const auto& [step, name] : inPlacePath)
            QTest::addRow("in place, %s, errno %d", qPrintable(name), error) << true << step << error << name;
    }
}

// Whatever step fails, the text stays in the editor and the user hears what
// failed; the note on disk is the old one (or, in place, its copy is).
void TestDocuments::everyFailingStepOfASaveIsReported()
{
    QFETCH(bool, inPlace);
    QFETCH(SaveStep, step);
    QFETCH(int, error);
    QFETCH(QString, stepName);
    const QByteArray oldBytes = "old text\x1a";
    loadNote("memo.scb", oldBytes);
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(file("memo.scb")).constData(), QFile::encodeName(file("link")).constData()), 0);
    m_editor->replaceSelection("new ");
    FailsOnceStorage storage(step, error);
    DocumentContext failing = contextWith(storage);
    const bool saved = SaveDocument(failing);
    const QByteArray onDisk = ReadFileBytes(file("memo.scb"));
    const QStringList leftBehind = QDir(m_dir->path()).entryList({"memo.scb.*", ".scriblet-save-*"}, QDir::Files | QDir::Hidden);

    if (step == SaveStep::ChangeOwner) { // not a failure: the note is rewritten in place instead
        QVERIFY(saved);
        QCOMPARE(onDisk, QByteArray("new old text\x1a"));
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(leftBehind, QStringList());
        return;
    }
    const QString failure = " (" + stepName + ": " + ReasonsShown.value(error) + ").";
    if (step == SaveStep::DirectorySync) { // the note is in place, only perhaps not yet on disk
        QVERIFY(saved);
        QVERIFY(!IsDocumentChanged(context()));
        QCOMPARE(onDisk, QByteArray("new old text\x1a"));
        QCOMPARE(lastMessage(), "File " + file("memo.scb") + " Was Written, But Perhaps Not Yet On Disk ("
                                    + ReasonsShown.value(error) + ").");
        return;
    }
    QVERIFY(!saved);
    QVERIFY(IsDocumentChanged(context()));
    QCOMPARE(m_editor->text(), QStringLiteral("new old text"));
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(m_platform->messages[0].title, QStringLiteral("Save Failed"));
    QVERIFY2(lastMessage().startsWith("File " + file("memo.scb") + " Could Not Be Written" + failure), qPrintable(lastMessage()));
    if (!inPlace || leftBehind.isEmpty()) {
        QCOMPARE(onDisk, oldBytes);
        QCOMPARE(leftBehind, QStringList());
        return;
    }
    QCOMPARE(leftBehind.size(), 1);
    QCOMPARE(ReadFileBytes(file(leftBehind[0])), oldBytes);
    QVERIFY(lastMessage().endsWith("  Its Previous Content Is Kept In " + file(leftBehind[0]) + "."));
}

void TestDocuments::failedSaveAsKeepsTheName()
{
    loadNote("mine.scb", "mine\x1a");
    UpdateTitle(m_state->settings, *m_window);
    m_editor->replaceSelection("more ");
    FullDiskStorage fullDisk;
    DocumentContext full = contextWith(fullDisk);
    m_platform->saveFileAnswers = {file("target.scb")};
    FileSaveAs(full);
    QCOMPARE(m_platform->messages.last().title, QStringLiteral("Save Failed"));
    QCOMPARE(m_state->settings.FileName, file("mine.scb"));
    QCOMPARE(m_window->title(), QStringLiteral("mine.scb"));
    QVERIFY(!QFile::exists(file("target.scb")));
    FileSave(context());
    QCOMPARE(ReadFileBytes(file("mine.scb")), QByteArray("more mine\x1a"));
}

void TestDocuments::noteTooLongForANoteFileIsNeverWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("added");
    QTest::addColumn<int>("size"); // on disk, end-of-file byte included
    const QByteArray utf8Letters = QString(14996, QChar(0x0436)).toUtf8(); // 29 992 bytes
    QTest::newRow("UTF-8, 29 995 bytes") << utf8Letters << "ab" << 29995;
    QTest::newRow("UTF-8, 29 996 bytes") << utf8Letters << "abc" << 29996;
    QTest::newRow("15 000 Cyrillic letters") << utf8Letters << QString(4, QChar(0x0436)) << 30001;
    QTest::newRow("Windows-1252, 29 995 bytes") << QByteArray(29993, '\xe9') << "\u00e9" << 29995;
    QTest::newRow("Windows-1252, 29 996 bytes") << QByteArray(29993, '\xe9') << "\u00e9\u00e9" << 29996;
    QTest::newRow("Windows-1252 that must become UTF-8") << QByteArray(16001, '\xe9') << "\u4e2d" << 32006;
}

// A file over the limit would be refused at the next load: it is never written.
void TestDocuments::noteTooLongForANoteFileIsNeverWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, added);
    QFETCH(int, size);
    const bool fits = size <= NoteFileSizeLimit;
    loadNote("long.scb", file);
    m_editor->setSelectionStart(m_editor->textLength());
    m_editor->replaceSelection(added);
    const QString text = m_editor->text();
    QCOMPARE(SaveDocument(context()), fits);
    QCOMPARE(ReadFileBytes(this->file("long.scb")).size(), fits ? size : file.size());
    QCOMPARE(IsDocumentChanged(context()), !fits);
    QCOMPARE(m_state->settings.FileName, this->file("long.scb"));
    if (fits) {
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(ReadNoteFile(context(), this->file("long.scb"), false).outcome, ReadOutcome::Loaded);
        QCOMPARE(m_editor->text(), text);
        return;
    }
    QCOMPARE(m_platform->messages.last().title, QStringLiteral("Note Too Long"));
    QCOMPARE(m_platform->messages.last().icon, MessageIcon::Stop);
    QVERIFY(lastMessage().contains(QString::number(size) + " Bytes"));
    QVERIFY(lastMessage().contains("At Most 29995 Bytes"));

    m_platform->messageAnswers = {MessageAnswer::Yes}; // the guard's save is refused: New stops
    FileNew(context());
    QCOMPARE(m_editor->text(), text);
}

// A note of 29 995 bytes without the end-of-file byte loads; saving would add
// the byte. The save before a quick-file switch says so once for that text.
void TestDocuments::unaskedSaveRefusesATooLongTextOnce()
{
    const QByteArray full(NoteFileSizeLimit, 'f');
    WriteFileBytes(file("quick.scb"), "quick");
    loadNote("full.scb", full);
    const auto refusals = [this] {
        return std::count_if(m_platform->messages.cbegin(), m_platform->messages.cend(),
                             [](const MessageBoxRequest& m) { return m.title == QStringLiteral("Note Too Long"); });
    };
    LoadQuickFile(context(), file("quick.scb")); // unchanged: not saved, the switch goes on
    QCOMPARE(refusals(), 0);
    QCOMPARE(m_editor->text(), QStringLiteral("quick"));
    QCOMPARE(ReadFileBytes(file("full.scb")), full);

    LoadQuickFile(context(), file("full.scb"));
    FileSave(context()); // asked for: always said
    QCOMPARE(refusals(), 1);

    m_editor->setSelectionStart(0);
    m_editor->replaceSelection("x");
    LoadQuickFile(context(), file("quick.scb")); // a new text, changed: said, and no switch
    QCOMPARE(refusals(), 2);
    LoadQuickFile(context(), file("quick.scb"));
    QCOMPARE(refusals(), 2);
    QCOMPARE(m_state->settings.FileName, file("full.scb"));
    QVERIFY(m_editor->text().startsWith(QStringLiteral("xf")));
}

// Windows-1252 bytes that would read back as other text are saved as UTF-8.
void TestDocuments::textReadsBackTheSameAfterASave()
{
    loadNote("mojibake.scb", "\xc3\xa9\xff\x1a");
    QCOMPARE(m_editor->text(), QString::fromUtf8("\u00c3\u00a9\u00ff"));
    m_editor->setSelectionStart(2);
    m_editor->setSelectionLength(1);
    m_editor->deleteSelection();
    QVERIFY(SaveDocument(context()));
    QCOMPARE(ReadFileBytes(file("mojibake.scb")), QByteArray("\xc3\x83\xc2\xa9\x1a"));
    loadNote("mojibake.scb", ReadFileBytes(file("mojibake.scb")));
    QCOMPARE(m_editor->text(), QString::fromUtf8("\u00c3\u00a9"));
}

void TestDocuments::failedSaveAfterYesStopsTheGuard()
{
    loadNote("doc.scb", "old\x1a");
    m_editor->replaceSelection("new ");
    FullDiskStorage fullDisk;
    DocumentContext onFullDisk = contextWith(fullDisk);
    m_platform->messageAnswers = {MessageAnswer::Yes};
    QVERIFY(!GuardUnsavedChanges(onFullDisk));
    QCOMPARE(m_editor->text(), QStringLiteral("new old"));
    QVERIFY(IsDocumentChanged(context()));

    m_state->settings.FileName = file("fresh.scb"); // no copy on disk yet
    m_platform->messageAnswers = {MessageAnswer::Yes};
    FileNew(onFullDisk);
    QCOMPARE(m_editor->text(), QStringLiteral("new old"));
    QCOMPARE(lastMessage(), "File " + file("fresh.scb") + " Could Not Be Written (Writing: No Space Left On Device).");
}

void TestDocuments::newDocument()
{
    loadNote("doc.scb", "text");
    FileNew(context());
    QVERIFY(m_platform->messages.isEmpty()); // unchanged: no question
    QCOMPARE(m_editor->text(), QString());
    QCOMPARE(m_state->settings.FileName, UntitledFileName);
    QCOMPARE(m_window->title(), QStringLiteral("UNNAMED.SCB"));

    QTest::keyClicks(m_editor.get(), "draft");
    m_platform->messageAnswers = {MessageAnswer::Yes}; // then the save dialog is cancelled
    FileNew(context());
    QCOMPARE(m_editor->text(), QStringLiteral("draft"));
    QVERIFY(IsDocumentChanged(context()));

    m_platform->messageAnswers = {MessageAnswer::Cancel};
    FileNew(context());
    QCOMPARE(m_editor->text(), QStringLiteral("draft"));

    m_platform->messageAnswers = {MessageAnswer::No};
    FileNew(context());
    QCOMPARE(m_editor->text(), QString());
    QVERIFY(!IsDocumentChanged(context()));
}

void TestDocuments::addressFileIsCreatedOnFirstUse()
{
    m_editor->setText(QString()); // an untitled, unchanged document
    LoadQuickFile(context(), QuickFilePath(context(), 3));
    const QString address = m_state->document.ProgramDirectory + "/ADDRESS.SCB";
    QVERIFY(QFile::exists(address));
    QCOMPARE(ReadFileBytes(address), QByteArray());
    QCOMPARE(m_state->settings.FileName, address);
    QCOMPARE(m_window->title(), QStringLiteral("ADDRESS.SCB"));
    QTest::keyClicks(m_editor.get(), "Ann Lee");
    FileSave(context());
    QCOMPARE(ReadFileBytes(address), QByteArray("Ann Lee\x1a"));
    QCOMPARE(QuickFilePath(context(), 4), m_state->document.ProgramDirectory + "/TODO.SCB");

    QVERIFY(QDir(m_state->document.ProgramDirectory).removeRecursively()); // gone while the program runs
    LoadQuickFile(context(), QuickFilePath(context(), 4));
    QVERIFY(QFile::exists(m_state->document.ProgramDirectory + "/TODO.SCB"));
    QCOMPARE(m_state->settings.FileName, m_state->document.ProgramDirectory + "/TODO.SCB");
}

void TestDocuments::quickFileSwitchSavesFirst()
{
    WriteFileBytes(file("quick.scb"), "quick\r\nfile\x1a");
    m_state->settings.File1 = file("quick.scb");
    loadNote("current.scb", "current");
    LoadQuickFile(context(), QuickFilePath(context(), 0));
    QCOMPARE(ReadFileBytes(file("current.scb")), QByteArray("current")); // unchanged: not written
    QCOMPARE(m_editor->text(), QStringLiteral("quick\r\nfile"));
    QCOMPARE(m_editor->selectionStart(), 10);
    QCOMPARE(m_window->title(), QStringLiteral("quick.scb"));

    WriteFileBytes(file("big.scb"), QByteArray(29996, 'x'));
    LoadQuickFile(context(), file("big.scb"));
    QCOMPARE(lastMessage(), "File " + file("big.scb") + TooLargeTail);
    QCOMPARE(m_state->settings.FileName, file("quick.scb"));
    QCOMPARE(m_editor->text(), QStringLiteral("quick\r\nfile"));
}

void TestDocuments::quickFileSwitchNeverLosesUnsavedText()
{
    WriteFileBytes(file("quick.scb"), "quick");
    m_editor->setText(QString()); // untitled and unchanged: the cancelled dialog loses nothing
    LoadQuickFile(context(), file("quick.scb"));
    QCOMPARE(m_editor->text(), QStringLiteral("quick"));

    QCOMPARE(m_platform->count("chooseFileToSave:" + NoteFileFilter), 1); // untitled: the save dialog first
    FileNew(context());
    QTest::keyClicks(m_editor.get(), "unsaved");
    LoadQuickFile(context(), file("quick.scb")); // the save dialog is cancelled
    QCOMPARE(m_platform->count("chooseFileToSave:" + NoteFileFilter), 2);
    QCOMPARE(m_editor->text(), QStringLiteral("unsaved"));
    QCOMPARE(m_state->settings.FileName, UntitledFileName);
}

void TestDocuments::quickFileErrors()
{
    loadNote("current.scb", "current");
    m_state->settings.File1 = QString();
    LoadQuickFile(context(), QuickFilePath(context(), 0));
    QVERIFY(m_platform->calls.contains("askText:SCRBL32:File was not found. Try again."));
    QCOMPARE(m_state->settings.FileName, file("current.scb"));
    QCOMPARE(m_editor->text(), QStringLiteral("current"));

    WriteFileBytes(file("elsewhere.scb"), "elsewhere");
    m_platform->textAnswers = {file("elsewhere.scb")};
    LoadQuickFile(context(), file("missing/dir/q.scb"));
    QCOMPARE(m_editor->text(), QStringLiteral("elsewhere"));
    QCOMPARE(m_state->settings.FileName, file("elsewhere.scb"));
    QCOMPARE(ReadFileBytes(file("current.scb")), QByteArray("current"));
}

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
