#include "subsystems/documents/file_errors.h"
#include "support/scripted_platform.h"

#include <QTest>

#include <cerrno>

class TestFileErrors : public QObject
{
    Q_OBJECT

private slots:
    void mapsSystemErrorsToRows_data();
    void mapsSystemErrorsToRows();
    void promptsAndReturnsTheNameEntered();
    void cancelOrEmptyEntryGivesNoName();
    void driveDoorAndOtherErrors();
};

void TestFileErrors::mapsSystemErrorsToRows_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("row");
    const int notFound = int(FileErrorRow::NotFound);
    QTest::newRow("ENOENT") << ENOENT << notFound;
    QTest::newRow("ENOTDIR") << ENOTDIR << notFound;
    QTest::newRow("EACCES") << EACCES << notFound;
    QTest::newRow("EISDIR") << EISDIR << notFound;
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << int(FileErrorRow::InvalidName);
    QTest::newRow("EINVAL") << EINVAL << int(FileErrorRow::InvalidName);
    QTest::newRow("ENXIO") << ENXIO << int(FileErrorRow::DeviceUnavailable);
    QTest::newRow("ENODEV") << ENODEV << int(FileErrorRow::DeviceUnavailable);
    QTest::newRow("EIO") << EIO << int(FileErrorRow::DiskNotReady);
    QTest::newRow("ENOMEDIUM") << ENOMEDIUM << int(FileErrorRow::DiskNotReady);
    QTest::newRow("ENOMEM") << ENOMEM << int(FileErrorRow::Other);
}

void TestFileErrors::mapsSystemErrorsToRows()
{
    QFETCH(int, error);
    QFETCH(int, row);
    QCOMPARE(int(FileErrorRowFor(error)), row);
}

void TestFileErrors::promptsAndReturnsTheNameEntered()
{
    const QList<QPair<int, QString>> rows = {
        {ENOENT, "File was not found. Try again."},
        {ENAMETOOLONG, "File name was invalid. Try again."},
        {ENODEV, "Device is not available. Try again."},
    };
    for (const auto& [error, prompt] : rows) {
        ScriptedPlatform platform;
        platform.textAnswers = {QStringLiteral("/notes/other.scb")};
        QCOMPARE(ReportFileError(platform, error), std::optional<QString>("/notes/other.scb"));
        QCOMPARE(platform.calls, QStringList{"askText:SCRBL32:" + prompt});
    }
}

void TestFileErrors::cancelOrEmptyEntryGivesNoName()
{
    ScriptedPlatform platform;
    platform.textAnswers = {std::nullopt, QString()};
    QCOMPARE(ReportFileError(platform, ENOENT), std::nullopt);
    QCOMPARE(ReportFileError(platform, ENOENT), std::nullopt);
}

void TestFileErrors::driveDoorAndOtherErrors()
{
    ScriptedPlatform platform;
    QCOMPARE(ReportFileError(platform, EIO), std::nullopt);
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages[0].text, QStringLiteral("Close the drive door."));
    QCOMPARE(platform.messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(platform.messages[0].icon, MessageIcon::None);
    QCOMPARE(ReportFileError(platform, ENOMEM), std::nullopt);
    QCOMPARE(platform.calls.size(), 1); // nothing shown for an error the table does not list
}

QTEST_GUILESS_MAIN(TestFileErrors)
#include "test_file_errors.moc"
