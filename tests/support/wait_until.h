#pragma once

#include <QDeadlineTimer>
#include <QTest>

// Turns the event loop until done() holds, the time is up or the current test
// has failed. Unlike QTRY_*, whose timeout counts only its own pauses, the
// time done() itself takes (a program it runs, say) counts too.
template <class Done>
bool WaitUntil(Done done, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired() || QTest::currentTestFailed())
            return false;
        QTest::qWait(20);
    }
    return true;
}
