#include "subsystems/documents/file_errors.h"
#include "support/scripted_platform.h"

#include <QTest>

#include <cerrno>

class TestFileErrors : public QObject
{
    Q_OBJECT

private slots:
    void eachSystemErrorShowsWhatTheUserCanDo_data();
    void eachSystemErrorShowsWhatTheUserCanDo();
    void cancelOrEmptyEntryGivesNoName();
};

// "ask:" an input box with that prompt, "box:" a message box with that text,
// empty: nothing is shown.
void TestFileErrors::eachSystemErrorShowsWhatTheUserCanDo_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("shown");
    const QString notFound = QStringLiteral("ask:File was not found. Try again.");
    const QString invalid = QStringLiteral("ask:File name was invalid. Try again.");
    const QString device = QStringLiteral("ask:Device is not available. Try again.");
    const QString door = QStringLiteral("box:Close the drive door.");
    QTest::newRow("ENOENT") << ENOENT << notFound;
    QTest::newRow("ENOTDIR") << ENOTDIR << notFound;
    QTest::newRow("EACCES") << EACCES << notFound;
    QTest::newRow("EISDIR") << EISDIR << notFound;
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << invalid;
    QTest::newRow("EINVAL") << EINVAL << invalid;
    QTest::newRow("ENXIO") << ENXIO << device;
    QTest::newRow("ENODEV") << ENODEV << device;
    QTest::newRow("EIO") << EIO << door;
    QTest::newRow("ENOMEDIUM") << ENOMEDIUM << door;
    QTest::newRow("ENOMEM shows nothing") << ENOMEM << QString();
}

void TestFileErrors::eachSystemErrorShowsWhatTheUserCanDo()
{
    QFETCH(int, error);
    QFETCH(QString, shown);
    ScriptedPlatform platform;
    platform.textAnswers = {QStringLiteral("/notes/other.scb")};
    const std::optional<QString> entered = ReportFileError(platform, error);
    if (shown.startsWith(QStringLiteral("ask:"))) {
        QCOMPARE(platform.calls, QStringList{"askText:SCRBL32:" + shown.mid(4)});
        QCOMPARE(entered, std::optional<QString>("/notes/other.scb"));
        return;
    }
    QCOMPARE(entered, std::nullopt);
    if (shown.isEmpty()) {
        QVERIFY(platform.calls.isEmpty());
        return;
    }
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages[0].text, shown.mid(4));
    QCOMPARE(platform.messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(platform.messages[0].icon, MessageIcon::None);
}

void TestFileErrors::cancelOrEmptyEntryGivesNoName()
{
    ScriptedPlatform platform;
    platform.textAnswers = {std::nullopt, QString()};
    QCOMPARE(ReportFileError(platform, ENOENT), std::nullopt);
    QCOMPARE(ReportFileError(platform, ENOENT), std::nullopt);
}

QTEST_GUILESS_MAIN(TestFileErrors)
#include "test_file_errors.moc"
