#include "CpuTime.hpp"

#include <sys/resource.h>
#include <time.h>

namespace skorvin::bench {

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double childSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto seconds = [](const timeval& v) {
        return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) / 1e6;
    };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

} // namespace skorvin::bench
