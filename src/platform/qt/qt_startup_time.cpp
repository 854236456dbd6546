#include "platform/qt/qt_startup_time.h"

#if defined(__linux__)
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#endif

namespace platform::qt {

double MillisecondsSinceProcessStart() {
#if defined(__linux__)
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  // Field 22 (starttime, clock ticks after boot); the text after ')' starts at field 3.
  size_t pos = close + 2;
  for (int field = 3; field < 22 && pos != std::string::npos; ++field) pos = text.find(' ', pos) + 1;
  if (pos == 0 || pos == std::string::npos) return -1;
  const double startTicks = std::stod(text.substr(pos, text.find(' ', pos) - pos));
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
  return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
#else
  return -1;
#endif
}

}  // namespace platform::qt
