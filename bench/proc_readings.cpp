#include "proc_readings.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace {

std::string ProcPath(pid_t pid, const std::string& name) { return "/proc/" + std::to_string(pid) + '/' + name; }

std::ifstream OpenOrThrow(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return file;
}

// The number after "key:" in a status file; 0 when the key is missing.
long StatusField(const std::string& path, const std::string& key)
{
    std::ifstream file = OpenOrThrow(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) == 0 && line.size() > key.size() && line[key.size()] == ':')
            return std::stol(line.substr(key.size() + 1));
    }
    return 0;
}

// A thread that ends while the threads are listed counts no more.
template <typename Number, typename Reading>
Number SumOverThreads(pid_t pid, Reading reading)
{
    Number total = 0;
    for (const auto& task : std::filesystem::directory_iterator(ProcPath(pid, "task"))) {
        try {
            total += reading(task.path());
        } catch (const std::runtime_error&) {
        }
    }
    return total;
}

} // namespace

long ResidentKibibytes(pid_t pid) { return StatusField(ProcPath(pid, "status"), "VmRSS"); }

double CpuMilliseconds(pid_t pid)
{
    std::ifstream file = OpenOrThrow(ProcPath(pid, "stat"));
    const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks; the fields after it
    // start with the third, so utime and stime are the 12th and 13th.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string skipped;
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    long utime = 0;
    long stime = 0;
    fields >> utime >> stime;
    return double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long ContextSwitches(pid_t pid)
{
    return SumOverThreads<long>(pid, [](const std::filesystem::path& task) {
        const std::string status = (task / "status").string();
        return StatusField(status, "voluntary_ctxt_switches");
    });
}

double RunMilliseconds(pid_t pid)
{
    const long long nanoseconds = SumOverThreads<long long>(pid, [](const std::filesystem::path& task) {
        std::ifstream file = OpenOrThrow((task / "schedstat").string());
        long long runNanoseconds = 0;
        file >> runNanoseconds;
        return runNanoseconds;
    });
    return double(nanoseconds) / 1e6;
}
