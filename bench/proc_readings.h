#pragma once

#include <sys/types.h>

// What /proc tells of a running process. Each throws std::runtime_error when
// the process is gone.

// VmRSS, in kibibytes.
long ResidentKibibytes(pid_t pid);

// utime + stime of the whole process, in milliseconds (clock-tick resolution).
double CpuMilliseconds(pid_t pid);

// The time all its threads have run, as the scheduler counts it in
// nanoseconds (the first field of each thread's schedstat), in milliseconds.
double RunMilliseconds(pid_t pid);

// Voluntary context switches of all its threads: each is a thread going to
// sleep, to be woken again. Being put off the processor by a busy machine is
// no wake-up and does not count.
long ContextSwitches(pid_t pid);
