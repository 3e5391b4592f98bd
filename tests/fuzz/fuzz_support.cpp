#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "runend.h"

namespace fs = std::filesystem;

namespace fuzz {

void fault(const char* what) {
    std::fprintf(stderr, "\nfuzz check failed: %s\n", what);
    std::abort();
}

namespace {

std::string g_dir;

void remove_private_dir() {
    std::error_code ec;
    fs::current_path("/", ec);
    fs::remove_all(g_dir, ec);
}

// The error numbers and messages that belong together, from the table the reports use:
// the message itself, or its lead followed by ": " and a detail of printable characters.
bool known_error(int number, std::string_view message) {
    for (int e = static_cast<int>(core::IoError::FileNotFound); e <= static_cast<int>(core::IoError::WriteFailed); ++e) {
        auto id = static_cast<core::IoError>(e);
        if (core::io_error_number(id) != number) continue;
        if (message == core::io_error_message(id)) return true;
        const std::string lead = std::string(core::io_error_lead(id)) + ": ";
        if (message.substr(0, lead.size()) != lead) continue;
        for (char c : message)
            if (static_cast<unsigned char>(c) < 0x20) return false;
        return true;
    }
    return false;
}

bool listed(std::string_view name, std::string_view names) {
    while (!names.empty()) {
        size_t comma = names.find(',');
        if (names.substr(0, comma) == name) return true;
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    }
    return false;
}

bool starts(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

const std::string& enter_private_dir() {
    if (g_dir.empty()) {
        // In memory where the system offers it: every input is written to a file and read
        // back, and a disk would make that most of the time of a run.
        char shm[] = "/dev/shm/suite-fuzz-XXXXXX";
        char tmp[] = "/tmp/suite-fuzz-XXXXXX";
        char* tmpl = mkdtemp(shm) ? shm : tmp;
        require(tmpl == shm || mkdtemp(tmp) != nullptr, "mkdtemp");
        g_dir = tmpl;
        require(chdir(g_dir.c_str()) == 0, "chdir into the private directory");
        std::atexit(remove_private_dir);
    }
    return g_dir;
}

void write_file(const std::string& name, std::string_view bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    require(f != nullptr, "open a file of the private directory");
    require(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "write a file");
    std::fclose(f);
}

void write_file(const std::string& name, const std::uint8_t* data, std::size_t size) {
    write_file(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void remove_file(const std::string& name) { std::remove(name.c_str()); }

std::string shipped(const std::string& data_relative) {
    std::string bytes = read_file(std::string(FUZZ_DATA_DIR) + "/" + data_relative);
    require(!bytes.empty(), "a shipped data file is missing");
    return bytes;
}

Run run(void (*body)()) {
    Run r;
    core::console_capture(&r.out, &r.err);
    r.status = core::run_program(body);
    core::console_capture(nullptr, nullptr);
    return r;
}

std::string with_cr_before_lf(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

Run run_reads(const std::string& name, std::string_view bytes, void (*body)(), std::vector<double>& values) {
    write_file(name, bytes);
    values.clear();
    Run r = run(body);
    const std::vector<double> first = values;

    write_file(name, with_cr_before_lf(bytes));
    values.clear();
    Run crlf = run(body);
    require(crlf.status == r.status && crlf.err == r.err && values.size() == first.size(),
            "CR LF line ends read otherwise than LF");
    for (size_t k = 0; k < first.size(); ++k)
        require(std::memcmp(&values[k], &first[k], sizeof(double)) == 0, "CR LF line ends gave another value");

    std::string op = check_ending(r, name);
    require(r.status == 1 ? op == "READ" : r.out == "Stop - Program terminated.\r\n",
            "the reads ended otherwise than by a read failure or the stop");
    return r;
}

ProgramRun run_program_once(void (*body)(), const std::string& report_name) {
    remove_file(report_name);
    ProgramRun p;
    p.run = run(body);
    p.report = read_file(report_name);
    return p;
}

void check_same_again(const ProgramRun& first, void (*body)(), const std::string& report_name) {
    ProgramRun again = run_program_once(body, report_name);
    require(again.run.status == first.run.status && again.run.out == first.run.out && again.run.err == first.run.err &&
                again.report == first.report,
            "a second run on the same files gave other bytes");
}

bool has_not_finite(std::string_view text) {
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        char a = static_cast<char>(text[i] | 0x20), b = static_cast<char>(text[i + 1] | 0x20),
             c = static_cast<char>(text[i + 2] | 0x20);
        if ((a == 'n' && b == 'a' && c == 'n') || (a == 'i' && b == 'n' && c == 'f')) return true;
    }
    return false;
}

std::string check_ending(const Run& r, std::string_view files) {
    if (r.status == 0) {
        require(r.err.empty(), "a normal end wrote to the error stream");
        return "";
    }
    require(r.status == 1, "exit status neither 0 nor 1");
    std::string_view e = r.err;
    constexpr std::string_view head = "\r\nrun-time error F";
    require(starts(e, head), "error report: head");
    e.remove_prefix(head.size());
    require(e.size() >= 4, "error report: number");
    int number = 0;
    for (int i = 0; i < 4; ++i) {
        require(e[i] >= '0' && e[i] <= '9', "error report: four digits");
        number = number * 10 + (e[i] - '0');
    }
    e.remove_prefix(4);
    require(starts(e, ": "), "error report: colon");
    e.remove_prefix(2);
    size_t paren = e.find('(');
    require(paren != std::string_view::npos, "error report: operation");
    std::string op(e.substr(0, paren));
    require(op == "READ" || op == "WRITE" || op == "OPEN" || op == "CLOSE" || op == "REWIND",
            "error report: unknown operation");
    e.remove_prefix(paren + 1);
    size_t close = e.find(")\r\n- ");
    require(close != std::string_view::npos, "error report: file and message line");
    require(listed(e.substr(0, close), files), "error report: file not one of the run's");
    e.remove_prefix(close + 5);
    require(e.size() >= 2 && e.substr(e.size() - 2) == "\r\n", "error report: final CR LF");
    std::string_view message = e.substr(0, e.size() - 2);
    require(message.find_first_of("\r\n") == std::string_view::npos, "error report: more than one message line");
    require(known_error(number, message), "error report: number and message do not belong together");
    require(r.err.size() <= core::kIoReportMax, "error report: longer than the launcher shows");
    return op;
}

void check_program_run(const Run& r, std::string_view input_name, std::string_view report_name,
                       std::string_view report, int title_records) {
    std::string files = std::string(input_name) + "," + std::string(report_name) + ",GPROP.DAT";
    std::string op = check_ending(r, files);
    const std::string results_line = "The results are stored in the file " + std::string(report_name) + "\r\n";
    if (r.status == 0) {
        require(r.out == results_line + "Stop - Program terminated.\r\n", "console of a normal end");
        require(!report.empty(), "a normal end without a report");
    } else {
        require(r.out == results_line, "console of a failed run");
        // The operation's line names the file; the message may quote any text.
        if (r.err.find(": READ(" + std::string(input_name) + ")\r\n") != std::string::npos)
            require(report.empty(), "a failed input read wrote to the report");
    }
    require(report.empty() || (report.size() >= 2 && report.substr(report.size() - 2) == "\r\n"),
            "report record without CR LF");
    // The echoed titles are the user's own text; everything after them is the program's.
    size_t pos = 0;
    for (int k = 0; k < title_records && pos < report.size(); ++k) {
        size_t end = report.find("\r\n", pos);
        pos = end == std::string_view::npos ? report.size() : end + 2;
    }
    require(!has_not_finite(report.substr(pos)), "a number that is not finite in the report");
}

std::string echoed_titles(std::string_view input, int n) {
    std::string titles;
    for (int k = 0; k < n; ++k) {
        size_t lf = input.find('\n');
        std::string_view rec = input.substr(0, lf);
        input = lf == std::string_view::npos ? std::string_view() : input.substr(lf + 1);
        rec = rec.substr(0, std::min(rec.find('\r'), std::min<size_t>(rec.size(), 72)));
        titles.append(rec);
        titles.append(72 - rec.size(), ' ');
        titles.append("\r\n");
    }
    return titles;
}

void check_titles(std::string_view report, const std::string& titles, const char* what) {
    if (!report.empty()) require(report.substr(0, titles.size()) == titles, what);
}

}  // namespace fuzz
