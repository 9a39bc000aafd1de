#include "child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int GraceMilliseconds = 3000;

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::vector<char*> PointerArray(const std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (const std::string& s : strings)
        pointers.push_back(const_cast<char*>(s.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

bool EndsWithin(int pidfd, int milliseconds)
{
    pollfd watched{pidfd, POLLIN, 0};
    int ready;
    do
        ready = poll(&watched, 1, milliseconds);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment)
{
    // Built before the fork: the child may only exec.
    std::vector<std::string> command{program};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = PointerArray(command);
    std::vector<char*> envp = PointerArray(environment);
    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (m_pid == 0) {
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    m_pidfd = int(syscall(SYS_pidfd_open, m_pid, 0));
    if (m_pidfd < 0) {
        const int error = errno;
        terminate();
        throw std::runtime_error(std::string("pidfd_open: ") + std::strerror(error));
    }
}

ChildProcess::~ChildProcess()
{
    terminate();
    if (m_pidfd >= 0)
        close(m_pidfd);
}

bool ChildProcess::running() const { return !m_reaped && !EndsWithin(m_pidfd, 0); }

void ChildProcess::terminate()
{
    if (m_reaped || m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    if (m_pidfd < 0 || !EndsWithin(m_pidfd, GraceMilliseconds))
        kill(m_pid, SIGKILL);
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_reaped = true;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides,
                                         const std::vector<std::string>& removed)
{
    std::vector<std::string> names = removed;
    for (const std::string& entry : overrides)
        names.push_back(NameOf(entry));
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        if (std::find(names.begin(), names.end(), NameOf(*entry)) == names.end())
            environment.emplace_back(*entry);
    }
    environment.insert(environment.end(), overrides.begin(), overrides.end());
    return environment;
}
