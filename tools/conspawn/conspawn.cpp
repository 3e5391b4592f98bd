// conspawn.exe: a stand-in for the outside console-spawning program the launcher relies
// on. It runs the program named by the tail of its command line as a console program,
// in the (hidden) console it was given and with the standard handles it received, waits
// for that program and ends after it with its exit status.
//
//     conspawn.exe zorvath.exe
#include <windows.h>

#include <cstring>

namespace {

// The command line after the spawner's own name and the blanks that follow it.
char* CommandTail(char* line) {
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

// Reported on the standard error stream, which is where the launcher looks for failures.
void Complain(const char* what, const char* program) {
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!err || err == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(err, what, static_cast<DWORD>(std::strlen(what)), &written, nullptr);
    WriteFile(err, program, static_cast<DWORD>(std::strlen(program)), &written, nullptr);
    WriteFile(err, "\r\n", 2, &written, nullptr);
}

}  // namespace

int main() {
    char* program = CommandTail(GetCommandLineA());
    if (!*program) {
        Complain("conspawn: no program to run", "");
        return 1;
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    // No creation flags: the program shares this console, which the launcher keeps hidden.
    if (!CreateProcessA(nullptr, program, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &child)) {
        Complain("conspawn: could not execute ", program);
        return 1;
    }
    CloseHandle(child.hThread);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hProcess);
    return static_cast<int>(status);
}
