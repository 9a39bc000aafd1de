#include "platform/termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
// SIGINT is Ctrl+C in the terminal that started the program: a close
// request like the others, not a reason to lose the text.
constexpr int Watched[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void OnTerminationSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t put = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

// A signal ignored when the program started (nohup) stays ignored.
bool Ignored(int signal)
{
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void Handle(int signal, void (*handler)(int))
{
    if (Ignored(signal))
        return;
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onRequest, QObject* parent)
    : QObject(parent)
    , m_onRequest(std::move(onRequest))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readRequest);
    for (const int signal : Watched)
        Handle(signal, OnTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signal : Watched)
        Handle(signal, SIG_DFL);
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::readRequest()
{
    char bytes[16];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    if (m_onRequest)
        m_onRequest();
}
