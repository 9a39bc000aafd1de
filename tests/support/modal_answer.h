#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs answer on the modal form of type Form as soon as one is shown, so a
// test can drive a form that a command shows and waits on. Gives up after a
// few hundred turns of the event loop.
// A check failed inside answer closes the form, which would else wait for ever.
template <class Form>
void WhenModalShown(std::function<void(Form&)> answer, int attempts = 300)
{
    QTimer::singleShot(0, [answer = std::move(answer), attempts]() mutable {
        if (auto* form = qobject_cast<Form*>(QApplication::activeModalWidget())) {
            answer(*form);
            if (form->isVisible() && QTest::currentTestFailed())
                form->close();
            return;
        }
        if (attempts > 0)
            WhenModalShown<Form>(std::move(answer), attempts - 1);
    });
}
