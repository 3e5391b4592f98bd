// Whole runs of a flame program on arbitrary input bytes beside the shipped GPROP.DAT:
// built once per program, braskot2 (INPUT.UV) and quellin (INPUT.HP), the program chosen
// by FLAME_PROGRAM (uv or hp) and FLAME_BODY (its main program).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "hp.h"
#include "uv.h"

namespace {
const flame::FlameProgram& program = FLAME_PROGRAM::PROGRAM;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    fuzz::write_file("GPROP.DAT", fuzz::shipped("GPROP.DAT"));
    flame::configure_solver();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::write_file(program.input_name, data, size);
    const fuzz::ProgramRun p = fuzz::run_program_once(FLAME_BODY, program.report_name);
    const fuzz::Run& r = p.run;
    const std::string& report = p.report;
    // Report records 1, 2 and 4 echo the three titles; records 3 and 5 are blank.
    fuzz::check_program_run(r, program.input_name, program.report_name, report, 4);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string titles = fuzz::echoed_titles(input, 3);
    const size_t two = 2 * (72 + 2);
    fuzz::check_titles(report, titles.substr(0, two) + " \r\n" + titles.substr(two) + " \r\n", "the title echo");
    fuzz::check_same_again(p, FLAME_BODY, program.report_name);
    return 0;
}
