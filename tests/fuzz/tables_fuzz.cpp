// TABLES on arbitrary GPROP.DAT bytes, inside a whole zorvath run on the shipped methane
// example: a table file that loads must still give a report without numbers that are
// not finite, and one that does not load must end with the error report on GPROP.DAT.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "tp.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    fuzz::write_file("INPUT.TP", fuzz::shipped("examples/methane.tp"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::write_file("GPROP.DAT", data, size);
    const fuzz::ProgramRun p = fuzz::run_program_once(tp::ZORVATH, "OUTPUT.TP");
    const fuzz::Run& r = p.run;
    const std::string& report = p.report;
    fuzz::check_program_run(r, "INPUT.TP", "OUTPUT.TP", report, 1);
    if (r.status == 1) {
        // The input is the shipped example: only the table file can have failed, after the echo.
        fuzz::require(r.err.find("(GPROP.DAT)") != std::string::npos, "a failure not on GPROP.DAT");
        fuzz::require(report.find("PRESSURE (Pa)") != std::string::npos, "the echo is missing");
    }
    fuzz::check_same_again(p, tp::ZORVATH, "OUTPUT.TP");
    return 0;
}
