// Units: small numbers bound to files, read and written a record (line) at a time.
//
// Output records end in CR LF. On input a record ends at LF; a CR ends the record's
// text and the rest up to the LF is skipped; text after the last line break is a last
// record; every other byte, the zero byte included, belongs to the record.
// The first write to a file opened at its start discards the file's previous contents.
// Any failure ends the run through the input/output error report (runend.h).
#pragma once

#include <string_view>

namespace core {

constexpr int UNIT_INPUT = 2;   // INPUT.TP / INPUT.UV
constexpr int UNIT_REPORT = 3;  // OUTPUT.TP / OUTPUT.UV
constexpr int UNIT_TABLES = 7;  // GPROP.DAT

enum class OpenStatus {
    Old,      // the file must exist
    Unknown,  // an existing file is opened, a missing one created empty
};

// The solvers name their files in upper case. Where the file system tells letter case
// apart, an existing file whose name matches without regard to case is opened, and a
// new file is created under the name as given.
// `reads` says what the program reads from the file ("a title and 7 values"), for the
// report of an end of file that comes too soon.
void open_unit(int unit, std::string_view name, OpenStatus status, const char* reads = nullptr);
void close_unit(int unit);   // keeps the file
void rewind_unit(int unit);

// The text of the next unread record; the end of the file is an input/output failure.
std::string_view read_record(int unit);
// Appends one record; CR LF is added.
void write_record(int unit, std::string_view text);

// The file name the unit was opened with, for error reports.
std::string_view unit_name(int unit);
// The line number in its file of the record read last (0 before the first read).
int record_number(int unit);

// Pushes buffered records of every open unit to their files; failures are reported.
void flush_all_units();
// Closes every unit at the end of a run; failures can no longer be reported and are dropped.
void release_all_units();

}  // namespace core
