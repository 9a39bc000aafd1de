#include "platform/classic_look.h"
#include "platform/form_factory.h"
#include "settings/settings.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/options/glossary_dialog.h"
#include "subsystems/options/quick_files_dialog.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

Settings OldEntries()
{
    Settings settings;
    settings.Glossary1 = QStringLiteral("old G1");
    settings.Glossary2 = QStringLiteral("old G2");
    settings.Glossary3 = QStringLiteral("old G3");
    settings.Signature = QStringLiteral("old S");
    settings.File1 = QStringLiteral("/notes/one.scb");
    settings.File2 = QStringLiteral("/notes/two.txt");
    settings.File3 = QStringLiteral("/notes/three.scb");
    return settings;
}

QStringList Entries(const Settings& s)
{
    return {s.Glossary1, s.Glossary2, s.Glossary3, s.Signature, s.File1, s.File2, s.File3};
}

// Opens Form10 or Form11 the way the window does, loaded from the record.
QDialog* OpenForm(int form, FormFactory& forms, Settings& settings, Platform& platform)
{
    if (form == 10) {
        Form10* glossary = forms.showModeless<Form10>().first;
        glossary->load(settings);
        return glossary;
    }
    Form11* files = forms.showModeless<Form11>().first;
    files->load(settings, platform);
    return files;
}

QLineEdit* Box(const QWidget& form, int number)
{
    return form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
}

QStringList BoxTexts(const QWidget& form)
{
    QStringList texts;
    for (int number = 1; Box(form, number); ++number)
        texts << Box(form, number)->text();
    return texts;
}

void Press(QWidget& form, const QString& name)
{
    auto* button = form.findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

QString RefusalText()
{
    ScriptedPlatform reference;
    ShowExtensionRefusal(reference);
    return reference.messages.value(0).text;
}

} // namespace

class TestEntryDialogs : public QObject
{
    Q_OBJECT

private slots:
    void closing_data();
    void closing();
    void browse_data();
    void browse();
    void browsedThenCancelledAndTheDialogsOwnMemory();
    void boxesHoldOneSettingsLine();
    void layout_data();
    void layout();
    void captions_data();
    void captions();
    void windowAndTabOrder_data();
    void windowAndTabOrder();
};

void TestEntryDialogs::closing_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("stores");
    const std::pair<const char*, bool> actions[] = {
        {"OK", true},      {"Enter in the first box", true}, {"Enter in the last box", true},
        {"Cancel", false}, {"Esc", false},                   {"Esc in a box", false},
        {"close box", false},
    };
    for (int form : {10, 11})
        for (const auto& [action, stores] : actions)
            QTest::addRow("Form%d %s", form, action) << form << QString::fromLatin1(action) << stores;
}

// The first box is retyped, the second given text that is no file or is markup,
// the last one cleared; OK stores every box as it stands.
void TestEntryDialogs::closing()
{
    QFETCH(int, form);
    QFETCH(QString, action);
    QFETCH(bool, stores);

    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings = OldEntries();
    QDialog* dialog = OpenForm(form, forms, settings, platform);
    const QPointer<QDialog> alive(dialog);
    const QStringList old = Entries(settings);
    const qsizetype first = form == 10 ? 0 : 4;
    const int boxes = form == 10 ? 4 : 3;
    QCOMPARE(BoxTexts(*dialog), old.mid(first, boxes));

    const QString middle = form == 10 ? QStringLiteral("<b>a &amp; b</b>") : QStringLiteral("no such dir/hand typed");
    Box(*dialog, 1)->clear();
    QTest::keyClicks(Box(*dialog, 1), QStringLiteral("typed"));
    Box(*dialog, 2)->setText(middle);
    Box(*dialog, boxes)->clear();

    if (action == "OK")
        Press(*dialog, QStringLiteral("Command1"));
    else if (action == "Cancel")
        Press(*dialog, QStringLiteral("Command2"));
    else if (action == "Enter in the first box")
        QTest::keyClick(Box(*dialog, 1), Qt::Key_Return);
    else if (action == "Enter in the last box")
        QTest::keyClick(Box(*dialog, boxes), Qt::Key_Enter);
    else if (action == "Esc")
        QTest::keyClick(dialog, Qt::Key_Escape);
    else if (action == "Esc in a box")
        QTest::keyClick(Box(*dialog, 2), Qt::Key_Escape);
    else
        dialog->close();
    QTRY_VERIFY(alive.isNull());

    QStringList expected = old;
    if (stores) {
        expected[first] = QStringLiteral("typed");
        expected[first + 1] = middle;
        expected[first + boxes - 1] = QString();
    }
    QCOMPARE(Entries(settings), expected);
}

void TestEntryDialogs::browse_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("chosen"); // %R is the test's directory
    QTest::addColumn<QString>("filled"); // empty: the box keeps its text
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message"); // empty: no message box

    const QString refused = RefusalText();
    const QString none;
    QTest::newRow("cancelled") << 1 << "(cancelled)" << none << none << none;
    QTest::newRow("other extension") << 0 << "%R/notes/picture.png" << none << "Invalid File Extension" << refused;
    QTest::newRow("extension after the first dot") << 2 << "%R/notes/plan.bak.scb" << none << "Invalid File Extension"
                                                   << refused;
    QTest::newRow("no dot: .SCB appended") << 2 << "%R/notes/PLAN" << "%R/notes/PLAN.SCB" << none << none;
    QTest::newRow("no dot, completed name missing")
        << 1 << "%R/notes/DRAFT" << none << none << "File: %R/notes/DRAFT.SCB Not Found Or Empty";
    QTest::newRow("missing") << 0 << "%R/notes/gone.scb" << none << none << "File: %R/notes/gone.scb Not Found Or Empty";
    QTest::newRow("empty") << 1 << "%R/notes/empty.scb" << none << none << "File: %R/notes/empty.scb Not Found Or Empty";
    QTest::newRow("directory") << 2 << "%R/notes/folder.scb" << none << none
                               << "File: %R/notes/folder.scb Not Found Or Empty";
    QTest::newRow("dotted directory") << 0 << "%R/ann.lee/plan.scb" << "%R/ann.lee/plan.scb" << none << none;
    QTest::newRow("dotted directory, no dot in the name") << 1 << "%R/ann.lee/todo" << "%R/ann.lee/todo.SCB" << none
                                                          << none;
    QTest::newRow("text file, upper case") << 2 << "%R/notes/list.TXT" << "%R/notes/list.TXT" << none << none;
    QTest::newRow("blank in the name") << 0 << "%R/notes/my plan.Scb" << "%R/notes/my plan.Scb" << none << none;
    const QString deep = "%R/" + QString(250, u'd') + "/long.scb";
    QTest::newRow("longer than a box holds") << 1 << deep << none << none
        << "File: " + deep + " Has A Path Longer Than 255 Characters, Too Long For A Quick File";
}

void TestEntryDialogs::browse()
{
    QFETCH(int, button);
    QFETCH(QString, chosen);
    QFETCH(QString, filled);
    QFETCH(QString, title);
    QFETCH(QString, message);

    ScopedUserDirectories directories;
    const QString root = directories.root();
    for (const char* name : {"notes/PLAN.SCB", "notes/DRAFT", "notes/picture.png", "notes/plan.bak.scb",
                             "notes/list.TXT", "notes/my plan.Scb", "notes/folder.scb/inside.scb", "ann.lee/plan.scb",
                             "ann.lee/todo.SCB"})
        WriteFileBytes(root + u'/' + QString::fromLatin1(name), "x");
    WriteFileBytes(root + QStringLiteral("/notes/empty.scb"), QByteArray());
    WriteFileBytes(root + u'/' + QString(250, u'd') + "/long.scb", "x");

    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings = OldEntries();
    QDialog* dialog = OpenForm(11, forms, settings, platform);
    const QStringList old = Entries(settings);
    if (chosen == "(cancelled)")
        platform.openFileAnswers = {std::nullopt};
    else
        platform.openFileAnswers = {chosen.replace("%R", root)};

    Press(*dialog, QStringLiteral("Command3_%1").arg(button));
    QCOMPARE(platform.calls.filter(QStringLiteral("browseForFile:Scriblet Files (*.scb)|*.scb:")).size(), 1);
    QStringList boxes = old.mid(4);
    if (!filled.isEmpty())
        boxes[button] = filled.replace("%R", root);
    QCOMPARE(BoxTexts(*dialog), boxes);
    if (message.isEmpty()) {
        QCOMPARE(platform.messages.size(), 0);
    } else {
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].title, title);
        QCOMPARE(platform.messages[0].text, message.replace("%R", root));
        QCOMPARE(platform.messages[0].icon, MessageIcon::Stop);
        QCOMPARE(platform.messages[0].buttons, MessageButtons::Ok);
    }
    QCOMPARE(Entries(settings), old);

    Press(*dialog, QStringLiteral("Command1"));
    QCOMPARE(Entries(settings), old.mid(0, 4) + boxes);
}

// A browsed path waits for OK; the next Browse starts from the form's own
// last choice.
void TestEntryDialogs::browsedThenCancelledAndTheDialogsOwnMemory()
{
    ScopedUserDirectories dirs;
    const QString plan = dirs.root() + QStringLiteral("/plan.scb");
    WriteFileBytes(plan, "plan");
    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings = OldEntries();
    const QStringList old = Entries(settings);
    QDialog* dialog = OpenForm(11, forms, settings, platform);
    platform.openFileAnswers = {plan, std::nullopt};
    Press(*dialog, QStringLiteral("Command3_1"));
    QCOMPARE(BoxTexts(*dialog)[1], plan);
    Press(*dialog, QStringLiteral("Command3_2"));
    QCOMPARE(platform.calls.last(), QStringLiteral("browseForFile:Scriblet Files (*.scb)|*.scb:") + plan);
    Press(*dialog, QStringLiteral("Command2"));
    QCOMPARE(Entries(settings), old);
}

// A pasted line break becomes a blank; the length limit never leaves half a character.
void TestEntryDialogs::boxesHoldOneSettingsLine()
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QStringList pastes{QString::fromUtf8("1\r\n2\n3\r4\u2028/c\u2029"), QString(252, u'x') + smile + smile};
    const QStringList shown{"1 2 3 4 /c ", QString(252, u'x') + smile};
    Form10 form;
    for (qsizetype i = 0; i < pastes.size(); ++i) {
        Box(form, 1)->clear();
        QGuiApplication::clipboard()->setText(pastes[i]);
        QTest::keySequence(Box(form, 1), QKeySequence::Paste);
        QCOMPARE(Box(form, 1)->text(), shown[i]);
    }
}

void TestEntryDialogs::layout_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("name"); // empty: the form's client area
    QTest::addColumn<QRect>("pixels"); // twips / 15
    QTest::addColumn<bool>("arial");   // else the window's classic face

    QTest::newRow("Form10 client") << 10 << "" << QRect(128, 128, 477, 297) << false;
    QTest::newRow("Form10 Label1") << 10 << "Label1" << QRect(36, 12, 409, 17) << true;
    QTest::newRow("Form10 Label6") << 10 << "Label6" << QRect(12, 216, 29, 17) << true;
    QTest::newRow("Form10 Text1") << 10 << "Text1" << QRect(48, 60, 409, 25) << false;
    QTest::newRow("Form10 Text4") << 10 << "Text4" << QRect(48, 212, 409, 25) << false;
    QTest::newRow("Form10 Command1") << 10 << "Command1" << QRect(16, 248, 212, 33) << true;
    QTest::newRow("Form10 Command2") << 10 << "Command2" << QRect(252, 248, 212, 33) << true;
    QTest::newRow("Form11 client") << 11 << "" << QRect(160, 160, 478, 214) << false;
    QTest::newRow("Form11 Label3") << 11 << "Label3" << QRect(8, 64, 29, 17) << true;
    QTest::newRow("Form11 Text2") << 11 << "Text2" << QRect(44, 92, 349, 25) << false;
    QTest::newRow("Form11 Command3_0") << 11 << "Command3_0" << QRect(400, 60, 65, 25) << true;
    QTest::newRow("Form11 Command3_2") << 11 << "Command3_2" << QRect(400, 124, 65, 25) << true;
    QTest::newRow("Form11 Command1") << 11 << "Command1" << QRect(16, 164, 212, 33) << true;
    QTest::newRow("Form11 Command2") << 11 << "Command2" << QRect(252, 164, 212, 33) << true;
}

void TestEntryDialogs::layout()
{
    QFETCH(int, form);
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QFETCH(bool, arial);

    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings;
    QDialog* dialog = OpenForm(form, forms, settings, platform);
    if (dialog->logicalDpiY() != 96)
        QSKIP("The pixel sizes are those of a 96 DPI screen");
    QWidget* widget = name.isEmpty() ? dialog : dialog->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(name.isEmpty() ? QRect(dialog->pos(), dialog->size()) : widget->geometry(), pixels);
    const QFont expected = arial ? ArialBoldFont(9.75) : ClassicFont(8.25);
    QCOMPARE(widget->font().family(), expected.family());
    if (name.startsWith(QStringLiteral("Label"))) {
        // A face wider than Arial shrinks a label's caption until it fits.
        QVERIFY(widget->font().pointSizeF() <= expected.pointSizeF());
        QVERIFY(widget->sizeHint().width() <= widget->width());
    } else {
        QCOMPARE(widget->font().pointSizeF(), expected.pointSizeF());
    }
    QVERIFY(widget->font().bold());
    dialog->close();
}

void TestEntryDialogs::captions_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment"); // of a label

    const int centred = Qt::AlignHCenter | Qt::AlignTop;
    const int right = Qt::AlignRight | Qt::AlignTop;
    QTest::newRow("Form10 title") << 10 << "" << "Glossary Entries" << 0;
    QTest::newRow("Form10 Label1") << 10 << "Label1" << "Enter The Text Strings You Wish To Be Associated With The"
                                   << centred;
    QTest::newRow("Form10 Label2") << 10 << "Label2" << "Glossary Buttons (G1-G3) In The Edit Boxes Below:" << centred;
    QTest::newRow("Form10 Label3") << 10 << "Label3" << "G1 " << right;
    QTest::newRow("Form10 Label4") << 10 << "Label4" << "G2 " << right;
    QTest::newRow("Form10 Label5") << 10 << "Label5" << "G3 " << right;
    QTest::newRow("Form10 Label6") << 10 << "Label6" << "S " << right;
    QTest::newRow("Form10 Label7") << 10 << "Label7" << "Signature Button (S) In The Edit Box Below:" << centred;
    QTest::newRow("Form10 Label8") << 10 << "Label8" << "Enter The Text String You Wish To Be Associated With The"
                                   << centred;
    QTest::newRow("Form10 Command1") << 10 << "Command1" << "OK" << 0;
    QTest::newRow("Form10 Command2") << 10 << "Command2" << "Cancel" << 0;
    QTest::newRow("Form11 title") << 11 << "" << "File Entries" << 0;
    QTest::newRow("Form11 Label1") << 11 << "Label1" << "Enter The Files You Wish To Be Associated With The" << centred;
    QTest::newRow("Form11 Label2") << 11 << "Label2" << "File Buttons, F1-F3 In The Edit Boxes Below:" << centred;
    QTest::newRow("Form11 Label3") << 11 << "Label3" << "F1 " << right;
    QTest::newRow("Form11 Label4") << 11 << "Label4" << "F2 " << right;
    QTest::newRow("Form11 Label5") << 11 << "Label5" << "F3 " << right;
    QTest::newRow("Form11 Command3_1") << 11 << "Command3_1" << "Browse" << 0;
    QTest::newRow("Form11 Command1") << 11 << "Command1" << "OK" << 0;
    QTest::newRow("Form11 Command2") << 11 << "Command2" << "Cancel" << 0;
}

void TestEntryDialogs::captions()
{
    QFETCH(int, form);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, alignment);

    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings;
    QDialog* dialog = OpenForm(form, forms, settings, platform);
    if (name.isEmpty()) {
        QCOMPARE(dialog->windowTitle(), text);
    } else if (auto* label = dialog->findChild<QLabel*>(name)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(int(label->alignment()), alignment);
    } else {
        auto* button = dialog->findChild<QPushButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), text);
    }
    dialog->close();
}

void TestEntryDialogs::windowAndTabOrder_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Form10") << 10 << QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2"};
    QTest::newRow("Form11") << 11
                            << QStringList{"Text1",      "Text2",      "Text3",    "Command3_0",
                                           "Command3_1", "Command3_2", "Command1", "Command2"};
}

// A window of its own with the usual buttons that stays over the main window,
// and the caret in the first box.
void TestEntryDialogs::windowAndTabOrder()
{
    QFETCH(int, form);
    QFETCH(QStringList, order);

    QWidget owner;
    FormFactory forms(&owner);
    ScriptedPlatform platform;
    Settings settings;
    QDialog* dialog = OpenForm(form, forms, settings, platform);
    QVERIFY(dialog->isWindow());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &owner);
    const Qt::WindowFlags buttons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    QCOMPARE(dialog->windowFlags() & buttons, buttons);

    QWidget* start = Box(*dialog, 1);
    QVERIFY(start);
    QCOMPARE(dialog->focusWidget(), start);
    QStringList walked{start->objectName()};
    for (QWidget* widget = start->nextInFocusChain(); widget != start && walked.size() <= order.size();
         widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus)
            walked << widget->objectName();
    }
    QCOMPARE(walked, order);
    dialog->close();
}

QTEST_MAIN(TestEntryDialogs)
#include "test_entry_dialogs.moc"
