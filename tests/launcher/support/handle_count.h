// The number of kernel handles the test process holds, to show that a piece of code
// closes every handle it opens.
#pragma once

namespace launcher_test {

// Counted from the system's handle list (the platform's own per-process count is not
// available everywhere the tests run). Answers -1 when the list cannot be read.
int OpenHandleCount();

}  // namespace launcher_test
