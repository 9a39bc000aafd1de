#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT, the system's (or the terminal's) request to close at a moment when nobody
// can answer a question, turned into a call on the event loop: a signal
// handler may do next to nothing, so it only writes a byte the loop watches.
// A signal ignored from the start (nohup) stays ignored. One instance at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void readRequest();

    std::function<void()> m_onRequest;
    QSocketNotifier* m_notifier = nullptr;
};
