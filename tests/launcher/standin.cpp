// A stand-in solver for the launcher's tests, built in several variants. Like the TP
// solver it works in its working directory: it reads INPUT.TP and, as its last act,
// writes OUTPUT.TP ("REPORT" and a line, then the input), so a report on disk shows that
// the run went to its end. Before that it says on its console where the results are,
// reads its standard input to the end (STANDIN_READS_INPUT), and writes
// STANDIN_ERROR_BYTES bytes of a known pattern to its standard error stream. It ends with
// STANDIN_EXIT_STATUS, or with an access violation after the report (STANDIN_CRASH).
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "standin_pattern.h"

#ifndef STANDIN_ERROR_BYTES
#define STANDIN_ERROR_BYTES 0
#endif
#ifndef STANDIN_READS_INPUT
#define STANDIN_READS_INPUT 0
#endif
#ifndef STANDIN_EXIT_STATUS
#define STANDIN_EXIT_STATUS 0
#endif
#ifndef STANDIN_CRASH
#define STANDIN_CRASH 0
#endif

namespace {

void WriteAll(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - done < 1000 ? bytes.size() - done : 1000);
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

void ReadToEnd(HANDLE handle) {
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
}

}  // namespace

int main() {
    if (STANDIN_READS_INPUT) ReadToEnd(GetStdHandle(STD_INPUT_HANDLE));
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), "The results are stored in the file OUTPUT.TP\r\n");
    WriteAll(GetStdHandle(STD_ERROR_HANDLE), standin::Pattern(STANDIN_ERROR_BYTES));

    std::ifstream in("INPUT.TP", std::ios::binary);
    std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream("OUTPUT.TP", std::ios::binary | std::ios::trunc) << "REPORT\r\n" << input;
    if (STANDIN_CRASH) {
        volatile int* volatile nowhere = nullptr;  // a store the compiler must make: a real fault
        *nowhere = 0;
    }
    return STANDIN_EXIT_STATUS;
}
