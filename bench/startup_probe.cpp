// The desktop program, timed: it ends at the main window's first paint and
// prints how long that took from main() and from the exec (startup.sh runs
// it on the offscreen platform).
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "desktop.h"

namespace {

/// Milliseconds since the process started (the kernel's start time of this
/// process, in clock ticks since boot), or -1 when it cannot be read.
long long SinceExec() {
  std::FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char buffer[1024];
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = 0;
  // Field 22 (starttime) counts from the one after the command's ')'.
  const char* p = std::strrchr(buffer, ')');
  if (!p) return -1;
  unsigned long long start = 0;
  if (std::sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                  &start) != 1)
    return -1;
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const long hz = sysconf(_SC_CLK_TCK);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000 -
         static_cast<long long>(start * 1000 / static_cast<unsigned long long>(hz));
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  return desktop::Run(argc, argv, [&] {
    std::printf("startup_ms=%lld since_exec_ms=%lld\n", static_cast<long long>(sinceMain.elapsed()),
                SinceExec());
    std::fflush(stdout);
    QCoreApplication::exit(0);
  });
}
