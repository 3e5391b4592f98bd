// Test support: scratch directories, whole-file bytes, and runs of a program in a
// directory with its console captured.
#pragma once

#include <string>

namespace testing_support {

// A fresh directory under /tmp, removed with its files at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Copies a file of data/ (GPROP.DAT, ERROR.TXT, examples/...) in under the given name.
    void copy_data(const std::string& data_relative, const std::string& name) const;

private:
    std::string path_;
};

struct RunResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;  // standard output bytes
    std::string err;  // standard error bytes
};

// Runs a program with the directory as working directory and no arguments. With
// console_gone, its standard output is a pipe that nobody reads any more (a console
// window closed during the run); `out` then stays empty. closed_streams: the standard
// streams the program starts without, bit 1 << fd for descriptor fd. A program still
// running after 20 s is ended (status -1).
RunResult run_in(const ScratchDir& dir, const std::string& exe, bool console_gone = false, int closed_streams = 0);

// Runs a solver program with the shipped GPROP.DAT and the given input file in the
// directory.
RunResult run_solver_in(const ScratchDir& dir, const std::string& exe, const std::string& input_name,
                        const std::string& input);

// Runs a body in-process with a working directory and the console captured.
RunResult run_inprocess_in(const ScratchDir& dir, void (*body)());

std::string read_file(const std::string& path);

}  // namespace testing_support
