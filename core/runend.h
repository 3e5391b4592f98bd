// The one way a solver run ends.
//
// Every end of a run goes through here: the normal stop (and the stop after a terminal
// core message), and the input/output error report. An end deep inside a run unwinds to
// the program's entry with RunEnd, which run_program() catches, so whole runs can be
// made in-process by tests, fuzzers and benchmarks; only a run that is the whole process
// (run_process) ends by leaving the process at that point instead.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

struct RunEnd {
    int status;  // the process exit status: 0 normal stop, 1 input/output failure
};

// Input/output failures. Each has its number and one-line message in the table of
// runend.cpp; the report names the operation and the unit's file.
enum class IoError {
    FileNotFound,
    EndOfFile,
    InvalidNumber,
    BadRepeatCount,
    ValueTooLong,
    CtrlZInField,
    AccessRefused,
    DiskFull,
    OpenFailed,
    ReadFailed,
    WriteFailed,
};

enum class IoOp { Read, Write, Open, Close, Rewind };

int io_error_number(IoError e);
// The message of a report that knows no more than the kind of error.
const char* io_error_message(IoError e);
// The part of it that a detailed message keeps before its ": " ("invalid number").
std::string_view io_error_lead(IoError e);

// The longest input/output error report, in bytes: what the launcher reads of the
// error stream and shows.
constexpr size_t kIoReportMax = 256;

// Normal end: flushes the open files and writes "Stop - Program terminated." to standard
// output. A report file that cannot be flushed at this point turns the stop into an
// input/output failure: a run never claims success for a report it could not write.
// finish_run() is the end of a program body, which then returns to run_program with
// status 0; stop_run() does the same from deep inside a run and unwinds to it.
void finish_run();
[[noreturn]] void stop_run();

// The input/output error report on standard error, then the unwind with status 1:
//   CR LF "run-time error F" nnnn ": " OP "(" file ")" CR LF "- " message CR LF
[[noreturn]] void io_failure(IoOp op, std::string_view file, IoError e);
// The same with a message that says where the fault is: the lead of the error's message,
// ": " and the detail ("invalid number: line 3 holds '4x', which is not a decimal
// number"). A report longer than kIoReportMax is cut at the end of its message.
[[noreturn]] void io_failure(IoOp op, std::string_view file, IoError e, std::string_view detail);

// Runs a program body in-process: resets the run state, calls body, closes every unit
// and returns the exit status. A body that returns without stopping gives status 0.
int run_program(void (*body)());

// Runs a program body as the whole process, for main: as run_program, but an end deep
// inside the run closes every unit and leaves the process with its status there, so the
// program never unwinds (and never has to load its frame tables to do so). A console
// whose reader has gone drops the writes; the run goes on.
int run_process(void (*body)());

// Console streams. By default the process's standard output and error; tests and
// in-process runs may capture them instead (nullptr restores the default).
void console_capture(std::string* out, std::string* err);
void console_out(std::string_view bytes);
void console_err(std::string_view bytes);

// A record to the console unit: its first character is carriage control and is not
// shown (blank: new line; "0": one empty line first; "1": new page; "+": same line).
void console_record(std::string_view record);

}  // namespace core
