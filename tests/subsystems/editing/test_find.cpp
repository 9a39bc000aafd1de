#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "subsystems/editing/find.h"
#include "subsystems/editing/find_dialog.h"
#include "support/modal_answer.h"
#include "support/scripted_platform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Answers the Find form that is about to be shown: types the text and
// presses Enter, or presses Esc when there is no text. What the box held when
// the form came up is added to prefilled.
void AnswerFindForm(const std::optional<QString>& typed, QStringList* prefilled = nullptr)
{
    WhenModalShown<Form13>([typed, prefilled](Form13& form) {
        if (prefilled)
            prefilled->append(form.textBox().text());
        if (!typed) {
            QTest::keyClick(&form.textBox(), Qt::Key_Escape);
            return;
        }
        form.textBox().setText(*typed);
        QTest::keyClick(&form.textBox(), Qt::Key_Return);
    });
}

} // namespace

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void searches_data();
    void searches();
    void notFoundMessage();
    void dialogOpensWithThePreviousString();
    void findDialogLooksAndCloses();
    void askSearchStringGivesTheTextOrNothing();
};

// Steps: "F:text" Find with text typed in the dialog, "E" Find closed with Esc, "N" Find Next,
// "L:text" load another text, "C:n" put the caret at n.
// Expected after each step: "start,length", with " miss" when the
// not-found message was shown by that step.
void TestFind::searches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("alpha twice, then not found, selection kept")
        << "Alpha beta ALPHA" << QStringList{"F:alpha", "N", "N"} << QStringList{"0,5", "11,5", "11,5 miss"};
    QTest::newRow("one character per Find Next") << "aXa" << QStringList{"F:a", "N", "N"}
                                                 << QStringList{"0,1", "2,1", "2,1 miss"};
    QTest::newRow("hits do not overlap") << "aaaa" << QStringList{"F:aa", "N", "N"}
                                         << QStringList{"0,2", "2,2", "2,2 miss"};
    QTest::newRow("empty string does nothing") << "abc" << QStringList{"C:2", "F:", "N"}
                                               << QStringList{"2,0", "2,0", "2,0"};
    QTest::newRow("Esc keeps the search going") << "ab ab ab" << QStringList{"F:ab", "E", "N", "F:ab"}
                                                << QStringList{"0,2", "0,2", "3,2", "6,2"};
    QTest::newRow("Esc before any Find") << "abc" << QStringList{"C:1", "E", "N"} << QStringList{"1,0", "1,0", "1,0"};
    QTest::newRow("same string resumes") << "abc abc abc" << QStringList{"F:abc", "F:abc", "F:abc"}
                                         << QStringList{"0,3", "4,3", "8,3"};
    QTest::newRow("other letter case starts over") << "abc ABC abc" << QStringList{"F:abc", "N", "F:ABC"}
                                                   << QStringList{"0,3", "4,3", "0,3"};
    QTest::newRow("Find Next before any Find") << "abc" << QStringList{"C:2", "N"} << QStringList{"2,0", "2,0"};
    QTest::newRow("resume offset beyond a newly loaded text")
        << "xxxxxxxxxxxx abc" << QStringList{"F:abc", "L:abc", "N", "F:abc"}
        << QStringList{"13,3", "0,0", "0,0 miss", "0,0 miss"};
    QTest::newRow("resume offset carries over to a loaded text")
        << "abc" << QStringList{"F:b", "L:bbbb", "N"} << QStringList{"1,1", "0,0", "2,1"};
    QTest::newRow("hits after CR LF line ends") << "one\r\ntwo\r\nthree" << QStringList{"F:three", "F:O", "N"}
                                                << QStringList{"10,5", "0,1", "7,1"};
    QTest::newRow("accented letters match in any case") << QString::fromUtf8("Café CAFÉ")
                                                        << QStringList{QString::fromUtf8("F:café"), "N"}
                                                        << QStringList{"0,4", "5,4"};
    QTest::newRow("empty Find keeps the previous string") << "abab" << QStringList{"F:ab", "F:", "N", "F:ab"}
                                                          << QStringList{"0,2", "0,2", "0,2", "2,2"};
    QTest::newRow("moving the caret does not move the search") << "ab ab" << QStringList{"F:ab", "C:0", "N"}
                                                               << QStringList{"0,2", "0,0", "3,2"};
    QTest::newRow("blanks count") << "a b  a" << QStringList{"F: a"} << QStringList{"4,2"};
}

void TestFind::searches()
{
    QFETCH(QString, text);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);

    EditorControl editor;
    ScriptedPlatform platform;
    FormFactory forms;
    FindState find;
    editor.setText(text);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString& step = steps[i];
        const qsizetype messagesBefore = platform.messages.size();
        if (step.startsWith("F:") || step == "E") {
            AnswerFindForm(step == "E" ? std::nullopt : std::optional(step.mid(2)));
            EditFind(find, editor, platform, forms);
        } else if (step == "N") {
            EditFindNext(find, editor, platform);
        } else if (step.startsWith("L:")) {
            editor.setText(step.mid(2));
        } else if (step.startsWith("C:")) {
            editor.setSelectionStart(step.mid(2).toInt());
        }
        QString outcome = QStringLiteral("%1,%2").arg(editor.selectionStart()).arg(editor.selectionLength());
        if (platform.messages.size() > messagesBefore)
            outcome += QStringLiteral(" miss");
        QCOMPARE(outcome, expected[i]);
    }
}

void TestFind::notFoundMessage()
{
    EditorControl editor;
    ScriptedPlatform platform;
    FormFactory forms;
    FindState find;
    editor.setText(QStringLiteral("nothing here"));
    AnswerFindForm(QStringLiteral("abc"));
    EditFind(find, editor, platform, forms);
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages[0].text, QStringLiteral("The Text \"abc\" Was Not Found"));
    QCOMPARE(platform.messages[0].title, QStringLiteral("Find..."));
    QCOMPARE(platform.messages[0].icon, MessageIcon::Information);
    QCOMPARE(platform.messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(find.PreviousFindText, QStringLiteral("abc")); // remembered although nothing was found
    QCOMPARE(find.FindResume, 0);
}

void TestFind::dialogOpensWithThePreviousString()
{
    EditorControl editor;
    ScriptedPlatform platform;
    FormFactory forms;
    FindState find;
    editor.setText(QStringLiteral("needle"));
    QStringList prefilled;
    AnswerFindForm(QStringLiteral("need"), &prefilled);
    EditFind(find, editor, platform, forms);
    AnswerFindForm(QString(), &prefilled);
    EditFind(find, editor, platform, forms);
    QCOMPARE(prefilled, (QStringList{"", "need"}));
    QCOMPARE(find.PreviousFindText, QStringLiteral("need"));
    QCOMPARE(find.FindText, QString());
}

void TestFind::findDialogLooksAndCloses()
{
    Form13 dialog;
    dialog.setSearchText(QStringLiteral("previous"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Find..."));
    QCOMPARE(dialog.label().text(), QStringLiteral("Enter search string:"));
    QCOMPARE(dialog.okButton().text(), QStringLiteral("OK"));
    QVERIFY(!dialog.okButton().isDefault());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
    // Twips at 96 DPI: 15 per pixel.
    QCOMPARE(dialog.size(), QSize(353, 125));
    QCOMPARE(dialog.pos(), QPoint(187, 140));
    QCOMPARE(dialog.label().geometry(), QRect(12, 16, 145, 17));
    QCOMPARE(dialog.textBox().geometry(), QRect(12, 40, 329, 25));
    QCOMPARE(dialog.okButton().geometry(), QRect(12, 80, 329, 33));
    QCOMPARE(dialog.okButton().font().pointSizeF(), 9.75);
    QVERIFY(dialog.okButton().font().bold());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.textBox().text(), QStringLiteral("previous"));
    dialog.textBox().setFocus();
    dialog.textBox().selectAll();
    QTest::keyClicks(&dialog.textBox(), QStringLiteral("new one"));
    QTest::keyClick(&dialog.textBox(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.searchText(), QStringLiteral("new one"));

    Form13 clicked;
    clicked.show();
    QTest::mouseClick(&clicked.okButton(), Qt::LeftButton);
    QCOMPARE(clicked.result(), int(QDialog::Accepted));
    QVERIFY(!clicked.isVisible());

    Form13 entered;
    entered.show();
    entered.okButton().setFocus();
    QTest::keyClick(&entered.okButton(), Qt::Key_Return);
    QCOMPARE(entered.result(), int(QDialog::Accepted));
}

void TestFind::askSearchStringGivesTheTextOrNothing()
{
    QWidget owner;
    FormFactory forms(&owner);
    AnswerFindForm(QStringLiteral("typed"));
    QCOMPARE(AskSearchString(forms, QStringLiteral("previous")), std::optional<QString>(QStringLiteral("typed")));
    AnswerFindForm(std::nullopt);
    QCOMPARE(AskSearchString(forms, QStringLiteral("previous")), std::nullopt);
    AnswerFindForm(QString());
    QCOMPARE(AskSearchString(forms, QStringLiteral("previous")), std::optional<QString>(QString()));
    QVERIFY(owner.findChildren<Form13*>().isEmpty()); // each use made its own form and deleted it
}

QTEST_MAIN(TestFind)
#include "test_find.moc"
