#include "runend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "state.h"
#include "units.h"

namespace core {

namespace {

struct IoErrorEntry {
    IoError id;
    int number;
    const char* message;
};

// The error numbers and messages of the input/output report, in one place.
constexpr IoErrorEntry kIoErrors[] = {
    {IoError::FileNotFound, 2001, "file not found"},
    {IoError::EndOfFile, 2002, "end of file: the file has fewer lines than the program reads"},
    {IoError::InvalidNumber, 2003, "invalid number: the value is not a decimal number"},
    {IoError::BadRepeatCount, 2004, "invalid repeat count: write r*value with r a positive integer"},
    {IoError::ValueTooLong, 2005, "value too long: more than 260 characters"},
    {IoError::CtrlZInField, 2006, "Ctrl-Z (end-of-file mark) in a number field"},
    {IoError::AccessRefused, 2007, "access to the file refused: it is read-only or locked"},
    {IoError::DiskFull, 2008, "disk full: the file could not be written"},
    {IoError::OpenFailed, 2009, "the file could not be opened"},
    {IoError::ReadFailed, 2010, "the file could not be read"},
    {IoError::WriteFailed, 2011, "the file could not be written"},
};

// The lead of a message, which a detailed message keeps: the text before its first
// ": " ("invalid number"), or the whole message when it has none.
std::string_view lead_of(const char* message) {
    std::string_view m(message);
    return m.substr(0, m.find(": "));
}

const IoErrorEntry& entry(IoError e) {
    for (const auto& x : kIoErrors)
        if (x.id == e) return x;
    return kIoErrors[0];
}

const char* op_name(IoOp op) {
    switch (op) {
    case IoOp::Read: return "READ(";
    case IoOp::Write: return "WRITE(";
    case IoOp::Open: return "OPEN(";
    case IoOp::Close: return "CLOSE(";
    case IoOp::Rewind: return "REWIND(";
    }
    return "";
}

std::string* g_out = nullptr;
std::string* g_err = nullptr;

#ifdef _WIN32
// The console records already end in CR LF: the standard streams must not translate
// LF once more.
struct BinaryConsole {
    BinaryConsole() {
        _setmode(1, _O_BINARY);
        _setmode(2, _O_BINARY);
    }
} binary_console;
#endif

// A console write that fails (no usable standard output, a closed pipe) is dropped.
void write_fd(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

int io_error_number(IoError e) { return entry(e).number; }
const char* io_error_message(IoError e) { return entry(e).message; }
std::string_view io_error_lead(IoError e) { return lead_of(entry(e).message); }

void console_capture(std::string* out, std::string* err) {
    g_out = out;
    g_err = err;
}

void console_out(std::string_view bytes) {
    if (g_out) g_out->append(bytes);
    else write_fd(1, bytes);
}

void console_err(std::string_view bytes) {
    if (g_err) g_err->append(bytes);
    else write_fd(2, bytes);
}

void console_record(std::string_view record) {
    std::string line;
    char cc = record.empty() ? ' ' : record.front();
    std::string_view text = record.empty() ? record : record.substr(1);
    if (cc == '0') line = "\r\n";
    else if (cc == '1') line = "\f";
    else if (cc == '+') line = "\r";
    line.append(text);
    line.append("\r\n");
    console_out(line);
}

namespace {

// Set by run_process: the run is the whole process, and an end deep inside it leaves
// the process instead of unwinding.
bool g_whole_process = false;

[[noreturn]] void end_run(int status) {
    if (g_whole_process) {
        release_all_units();
        std::_Exit(status);
    }
    throw RunEnd{status};
}

}  // namespace

void finish_run() {
    flush_all_units();  // reports a report file that cannot be completed
    console_out("Stop - Program terminated.\r\n");
}

void stop_run() {
    finish_run();
    end_run(0);
}

void io_failure(IoOp op, std::string_view file, IoError e) { io_failure(op, file, e, {}); }

void io_failure(IoOp op, std::string_view file, IoError e, std::string_view detail) {
    const IoErrorEntry& x = entry(e);
    std::string r = "\r\nrun-time error F";
    char num[8];
    int n = x.number;
    for (int i = 3; i >= 0; --i, n /= 10) num[i] = static_cast<char>('0' + n % 10);
    r.append(num, 4);
    r.append(": ");
    r.append(op_name(op));
    r.append(file);
    r.append(")\r\n- ");
    if (detail.empty()) {
        r.append(x.message);
    } else {
        r.append(lead_of(x.message));
        r.append(": ");
        r.append(detail);
    }
    // The launcher shows what it reads of the error stream, the first 256 bytes: a
    // message too long for them is cut so that the report still ends its line.
    if (r.size() + 2 > kIoReportMax) r.resize(kIoReportMax - 2);
    r.append("\r\n");
    console_err(r);
    end_run(1);
}

int run_program(void (*body)()) {
    reset_run_state();
    int status = 0;
    try {
        body();
    } catch (const RunEnd& end) {
        status = end.status;
    }
    release_all_units();  // keeps what was written; a late failure here can no longer be reported
    return status;
}

namespace {

// A program started with a standard stream closed would find its input or report file
// on that descriptor, the lowest free one, and write its console line or its error
// report into it. The closed streams are given the null device first: only the
// console can be on descriptors 0 to 2, and what is written to a closed one is dropped.
// The Windows C library never hands out 0 to 2 for a file: it keeps them open from
// the start, without a handle when the process has none.
void reserve_standard_streams() {
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            ::close(null);
        }
    }
#endif
}

}  // namespace

int run_process(void (*body)()) {
    reserve_standard_streams();
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);  // a closed console pipe drops the write, not the run
#endif
    g_whole_process = true;
    return run_program(body);
}

}  // namespace core
