// What every fuzz target shares: a private working directory, whole-file helpers, the
// in-process run of a program body with its console captured, and the checks that must
// hold after any run whatever its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Ends the fuzzing run at once with a crash that libFuzzer records with its input.
[[noreturn]] void fault(const char* what);
inline void require(bool ok, const char* what) {
    if (!ok) fault(what);
}

// Creates a private temporary directory and makes it the working directory, once per
// process; it is removed when the process ends normally. Returns its path.
const std::string& enter_private_dir();

void write_file(const std::string& name, std::string_view bytes);
void write_file(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string read_file(const std::string& path);  // empty when absent
void remove_file(const std::string& name);

// The bytes of a file of the source tree's data/ folder (GPROP.DAT, examples/...).
std::string shipped(const std::string& data_relative);

struct Run {
    int status = -1;
    std::string out;  // standard output as the program wrote it
    std::string err;  // standard error
};
// Runs body through core::run_program with the console captured.
Run run(void (*body)());

// A whole program run and the report it left (the report of an earlier run is removed
// first, so that it cannot be judged again).
struct ProgramRun {
    Run run;
    std::string report;
};
ProgramRun run_program_once(void (*body)(), const std::string& report_name);
// A second run on the same files must give the same bytes: nothing of one in-process
// run may reach the next.
void check_same_again(const ProgramRun& first, void (*body)(), const std::string& report_name);

// The same bytes with a CR put before every LF: the same records, since a CR ends a
// record's text and whatever follows it up to the LF is skipped.
std::string with_cr_before_lf(std::string_view bytes);

// Reads of the file `name` by `body`, which gathers the values it read in `values`: runs
// it on the bytes, then again with a CR before every LF, which must read the same values
// and end the same way. The run must end by a read failure or by the stop. Returns the
// first run; `values` holds the values read, the same in both runs.
Run run_reads(const std::string& name, std::string_view bytes, void (*body)(), std::vector<double>& values);

// True when text contains "nan" or "inf" in any letter case.
bool has_not_finite(std::string_view text);

// Status 1 must come with exactly one input/output error report on the error stream:
//   CR LF "run-time error F" nnnn ": " OP "(" file ")" CR LF "- " message CR LF
// with a number and message that belong together and a file among `files`
// (comma-separated names). Status 0 must leave the error stream empty. Any other status
// is a fault. The report's operation is returned ("" for status 0).
std::string check_ending(const Run& r, std::string_view files);

// The whole-program checks of a zorvath or braskot2 run: the ending as above; the
// console holds the line naming the report and, on a normal end, the stop line only; a
// run that failed while reading its input wrote nothing to the report; every record of
// the report ends in CR LF and nothing in it after the `title_records` echoed title
// records is "nan" or "inf".
void check_program_run(const Run& r, std::string_view input_name, std::string_view report_name,
                       std::string_view report, int title_records);

// The first n records of an input file as a program echoes them: each cut at its CR or
// LF, then to 72 characters, padded with blanks to 72 (a missing record reads as none).
std::string echoed_titles(std::string_view input, int n);
// Requires the report, when it holds anything, to begin with `titles` (one record each).
void check_titles(std::string_view report, const std::string& titles, const char* what);

}  // namespace fuzz
