// A solver run: conspawn.exe runs the solver in a hidden console; whatever arrives on
// the error pipe is the run's failure.
#include "run_solver.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "handle.h"
#include "resource.h"
#include "textfile.h"

namespace orvello {

namespace {

// While waiting, the pipe is polled this often when it is empty.
constexpr DWORD kPollMilliseconds = 10;

// The first bytes of the error stream. The rest is read and dropped, so that a child
// writing more than the pipe holds is never left blocked.
class ErrorText {
public:
    // Reads whatever the pipe holds now, without blocking. Answers whether bytes came.
    bool Drain(HANDLE pipe) {
        bool any = false;
        for (;;) {
            DWORD available = 0;
            if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
                return any;  // empty, or every writer has gone
            char chunk[4096];
            DWORD got = 0;
            if (!ReadFile(pipe, chunk, available < sizeof chunk ? available : sizeof chunk, &got,
                          nullptr) ||
                got == 0)
                return any;
            any = true;
            Keep(chunk, got);
        }
    }
    bool empty() const { return length_ == 0; }
    const char* text() const { return text_; }

private:
    void Keep(const char* bytes, DWORD count) {
        while (count > 0 && length_ < kErrorTextMax) {
            text_[length_++] = *bytes++;
            --count;
        }
        text_[length_] = '\0';
    }

    char text_[kErrorTextMax + 1] = {};
    DWORD length_ = 0;
};

RunResult Fail(HWND owner, const char* text) {
    MessageBoxA(owner, text, kErrorCaption, MB_OK);
    return RunFailure;
}

RunResult CannotExecute(HWND owner, const char* program) {
    ShowFileError(owner, kExecError, program);
    return RunFailure;
}

// When the report was last written; none while it does not exist.
struct ReportStamp {
    bool exists = false;
    FILETIME written{};
};

ReportStamp StampOf(const char* report) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(SolverSpelling(report).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {true, data.ftLastWriteTime};
}

// The coarsest step of file times in use: two seconds on FAT drives (USB sticks).
constexpr ULONGLONG kFileTimeStep = 2 * 10'000'000ULL;  // in 100 ns units

// Whether the working folder's drive dates files in that coarse step (FAT, FAT32, exFAT):
// there a rewrite within the same two seconds may keep the old report's date.
bool CoarseFileTimes() {
    wchar_t system[MAX_PATH + 1] = L"";
    if (!GetVolumeInformationW(nullptr, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH + 1))
        return false;
    return wcsncmp(system, L"FAT", 3) == 0 || wcscmp(system, L"exFAT") == 0;
}

ULONGLONG Ticks(const FILETIME& t) { return ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

// A report left from an earlier run is not this run's result: the run must have made it
// or changed it. Only on a drive with coarse file times does a date no earlier than the
// start less one step count too: there a rewrite may keep the date of the report it
// replaced (a report left from less than two seconds before is then taken as written).
bool WrittenDuringRun(const ReportStamp& before, const ReportStamp& after,
                      const FILETIME& start) {
    return after.exists &&
           (!before.exists || Ticks(after.written) != Ticks(before.written) ||
            (CoarseFileTimes() && Ticks(after.written) + kFileTimeStep >= Ticks(start)));
}

// Waits for the child, draining its error stream meanwhile. Once the child has ended,
// everything it (and the solver it ran) wrote is in the pipe and one last drain takes it.
void WaitDraining(HANDLE process, HANDLE error_pipe, ErrorText& error) {
    for (;;) {
        const bool ended = WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
        const bool moved = error.Drain(error_pipe);
        if (ended) return;
        if (!moved) WaitForSingleObject(process, kPollMilliseconds);
    }
}

}  // namespace

RunResult RunSolver(const SolverKind& kind, HWND owner) {
    const char* executable = kind.executable;
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    Handle error_read, error_write, input_read, input_write;
    if (!CreatePipe(error_read.put(), error_write.put(), &inheritable, 0) ||
        !CreatePipe(input_read.put(), input_write.put(), &inheritable, 0))
        return CannotExecute(owner, executable);
    // The launcher's own ends stay out of the child: otherwise the child would hold the
    // error pipe open against itself, and its standard input would never end.
    SetHandleInformation(error_read.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(input_write.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input_read.get();
    startup.hStdOutput = nullptr;
    startup.hStdError = error_write.get();

    std::wstring command = Wide(kSpawner) + L' ' + Wide(executable);

    if (SearchPathW(nullptr, Wide(executable).c_str(), nullptr, 0, nullptr, nullptr) == 0)
        return CannotExecute(owner, executable);
    const ReportStamp before = StampOf(kind.output_file);
    FILETIME start{};
    GetSystemTimeAsFileTime(&start);
    PROCESS_INFORMATION child{};
    // The solver exists, so a start that fails is the spawner's.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child))
        return CannotExecute(owner, kSpawner);
    Handle process(child.hProcess), thread(child.hThread);

    // The child has its copies. Closing the input's write end gives the child a standard
    // input that is at its end, so a solver that reads it does not wait forever.
    error_write.reset();
    input_read.reset();
    input_write.reset();

    ErrorText error;
    WaitDraining(process.get(), error_read.get(), error);
    // The error text says best what went wrong; without it the exit status tells of a
    // crash or of a failure that was not explained.
    if (!error.empty()) return Fail(owner, error.text());
    DWORD status = 0;
    if (!GetExitCodeProcess(process.get(), &status)) status = DWORD(-1);  // unknown: never a success
    char message[1025];  // the most wsprintfA writes
    if (status != 0) {
        wsprintfA(message, kAbnormalEnd, executable, status);
        return Fail(owner, message);
    }
    if (!WrittenDuringRun(before, StampOf(kind.output_file), start)) {
        wsprintfA(message, kNoReport, executable, kind.output_file);
        return Fail(owner, message);
    }
    return RunSuccess;
}

}  // namespace orvello
