// Running a solver as a hidden console child through the console-spawning program.
#pragma once

#include <windows.h>

#include "resource.h"

namespace orvello {

enum RunResult { RunSuccess = 0, RunFailure = 1 };

// Runs "conspawn.exe " followed by the kind's executable name and waits until it has
// ended. Answers RunSuccess when nothing arrived on its standard error stream, it ended
// with status 0, and the kind's report was written during the run. Failures are shown
// here, in message boxes owned by the given window: the first 256 bytes of error text,
// the abnormal end, the report not written, or "Could not execute file %s".
RunResult RunSolver(const SolverKind& kind, HWND owner);

}  // namespace orvello
