// A solver run: conspawn.exe runs the solver in a hidden console; whatever arrives on
// the error pipe is the run's failure.
#include "run_solver.h"

#include <windows.h>

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

RunResult CannotExecute(const char* executable) {
    ShowFileError(nullptr, kExecError, executable);
    return RunFailure;
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

RunResult RunSolver(const char* executable) {
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    Handle error_read, error_write, input_read, input_write;
    if (!CreatePipe(error_read.put(), error_write.put(), &inheritable, 0) ||
        !CreatePipe(input_read.put(), input_write.put(), &inheritable, 0))
        return CannotExecute(executable);
    // The launcher's own ends stay out of the child: otherwise the child would hold the
    // error pipe open against itself, and its standard input would never end.
    SetHandleInformation(error_read.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(input_write.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input_read.get();
    startup.hStdOutput = nullptr;
    startup.hStdError = error_write.get();

    std::string command = std::string(kSpawnerCommand) + executable;

    OFSTRUCT info{};
    if (OpenFile(executable, &info, OF_EXIST) == HFILE_ERROR) return CannotExecute(executable);
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child))
        return CannotExecute(executable);
    Handle process(child.hProcess), thread(child.hThread);

    // The child has its copies. Closing the input's write end gives the child a standard
    // input that is at its end, so a solver that reads it does not wait forever.
    error_write.reset();
    input_read.reset();
    input_write.reset();

    ErrorText error;
    WaitDraining(process.get(), error_read.get(), error);
    if (error.empty()) return RunSuccess;
    MessageBoxA(nullptr, error.text(), kErrorCaption, MB_OK);
    return RunFailure;
}

}  // namespace orvello
