#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// A program started by fork and exec with an environment of its own. Its end
// is seen through a pidfd, so waiting on it needs no polling.
class ChildProcess
{
public:
    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment);
    // Ends the program if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Readable once the program has ended.
    int pidfd() const { return m_pidfd; }

    bool running() const;
    // SIGTERM, then SIGKILL when it has not ended within a grace period; reaps it.
    void terminate();

private:
    pid_t m_pid = -1;
    int m_pidfd = -1;
    bool m_reaped = false;
};

// The current environment with the given NAME=value entries set or replaced
// and the named variables removed.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides,
                                         const std::vector<std::string>& removed);
