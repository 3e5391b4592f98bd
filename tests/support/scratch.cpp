#include "scratch.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#if __has_include("runend.h")
#include "runend.h"
#define HAVE_CORE 1
#endif

namespace fs = std::filesystem;

namespace testing_support {

ScratchDir::ScratchDir() {
    char tmpl[] = "/tmp/suite-test-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream f(file(name), std::ios::binary | std::ios::trunc);
    f << bytes;
}

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string ScratchDir::read(const std::string& name) const { return read_file(file(name)); }

bool ScratchDir::exists(const std::string& name) const { return fs::exists(file(name)); }

void ScratchDir::copy_data(const std::string& data_relative, const std::string& name) const {
    write(name, read_file(std::string(SUITE_DATA_DIR) + "/" + data_relative));
}

RunResult run_in(const ScratchDir& dir, const std::string& exe, bool console_gone, int closed_streams) {
    std::string out_path = dir.path() + "/../" + fs::path(dir.path()).filename().string() + ".out";
    std::string err_path = out_path + ".err";
    int gone[2] = {-1, -1};
    if (console_gone) {
        if (pipe(gone) != 0) throw std::runtime_error("pipe failed");
        close(gone[0]);  // no reader from the start
    }
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.path().c_str()) != 0) _exit(127);
        int in = open("/dev/null", O_RDONLY);
        int out = console_gone ? gone[1] : open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (int fd : {in, out, err})
            if (fd > 2) close(fd);
        for (int fd = 0; fd <= 2; ++fd)
            if (closed_streams & (1 << fd)) close(fd);
        alarm(20);  // a program that waits for ever is ended, and the test fails
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (console_gone) close(gone[1]);
    RunResult r;
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.out = read_file(out_path);
    r.err = read_file(err_path);
    fs::remove(out_path);
    fs::remove(err_path);
    return r;
}

RunResult run_solver_in(const ScratchDir& dir, const std::string& exe, const std::string& input_name,
                        const std::string& input) {
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    dir.write(input_name, input);
    return run_in(dir, exe);
}

#ifdef HAVE_CORE
RunResult run_inprocess_in(const ScratchDir& dir, void (*body)()) {
    auto old = fs::current_path();
    fs::current_path(dir.path());
    RunResult r;
    core::console_capture(&r.out, &r.err);
    r.status = core::run_program(body);
    core::console_capture(nullptr, nullptr);
    fs::current_path(old);
    return r;
}
#endif

}  // namespace testing_support
