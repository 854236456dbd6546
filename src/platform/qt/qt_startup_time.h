// How long the process has run, for the start-up figures the program reports.
#pragma once

namespace platform::qt {

// Milliseconds since this process started, for the first-paint report; -1 when unknown.
double MillisecondsSinceProcessStart();

}  // namespace platform::qt
