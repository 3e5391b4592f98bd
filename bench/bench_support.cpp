#include "bench_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "routines.h"
#include "state.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

std::string g_dir;

void remove_work_dir() {
    std::error_code ec;
    fs::remove_all(g_dir, ec);
}

}  // namespace

void enter_work_dir() {
    if (!g_dir.empty()) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/suite-bench-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed in " + tmpl);
    g_dir = tmpl;
    std::atexit(remove_work_dir);
    fs::current_path(g_dir);
    copy_data("GPROP.DAT", "GPROP.DAT");
}

void copy_data(const std::string& data_relative, const std::string& name) {
    std::ifstream in(std::string(SUITE_DATA_DIR) + "/" + data_relative, std::ios::binary);
    if (!in) throw std::runtime_error("missing data file " + data_relative);
    std::ostringstream s;
    s << in.rdbuf();
    write_file(name, s.str());
}

void write_file(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + name);
}

void load_tables() {
    enter_work_dir();
    core::reset_run_state();
    core::TABLES();
}

void set_methane_state(double T) {
    core::BLOC_t& b = core::BLOC;
    b.AN = 1;
    b.AM = 4;
    b.AL = 0;
    b.AK = 0;
    b.F = 1;
    b.T = T;
    b.P = 101325;
}

}  // namespace bench
