// Running a solver as a hidden console child through the console-spawning program.
#pragma once

namespace orvello {

enum RunResult { RunSuccess = 0, RunFailure = 1 };

// Runs "conspawn.exe " followed by the executable name, waits until it has ended and
// answers RunSuccess when nothing arrived on its standard error stream. Failures are
// shown here: the first 256 bytes of error text, or "Could not execute file %s".
RunResult RunSolver(const char* executable);

}  // namespace orvello
