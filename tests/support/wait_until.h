#pragma once

#include <QTest>

// Unlike QTRY_*, whose timeout counts only its own pauses, counts the time done() takes too.
template <class Done>
bool WaitUntil(Done done, int milliseconds)
{
    return QTest::qWaitFor(done, milliseconds);
}
