// What the benchmarks share: a private working directory holding the shipped
// GPROP.DAT and example inputs, and a loaded, cold core state to measure from.
#pragma once

#include <string>

namespace bench {

// Creates a private directory under $TMPDIR (default /tmp) once per process, copies
// GPROP.DAT into it and makes it the working directory; removed when the process ends.
// The file system matters to the whole-run benchmark: rewriting a report costs far more
// on some (ext4 cuts a file with its blocks freed) than on others (tmpfs).
void enter_work_dir();

// Copies a file of the source tree's data/ folder into the working directory.
void copy_data(const std::string& data_relative, const std::string& name);

// Writes a file into the working directory.
void write_file(const std::string& name, const std::string& bytes);

// The run state of a program start, then TABLES from the shipped GPROP.DAT; the
// equilibrium solver is cold.
void load_tables();

// The methane problem of the shipped examples (CH4 in air at F = 1, 1 atm) at T.
void set_methane_state(double T);

}  // namespace bench
