// SERMSG: the core's single reporting routine.
//
// Writes a six-line message block naming the message id and the routine into the report
// file (unit 3), counts warnings (severity 0), and ends the run (core::stop_run) at a
// terminal error (any other severity) or at the eleventh warning. The explanations of
// the ids are in ERROR.TXT, which the programs only name.
#pragma once

#include <cstdint>
#include <string_view>

namespace core {

// NSEV: 0 warning, else terminal. SUBR: routine name, first 4 characters shown.
// MSGID: 4-character message id such as "GP01".
void SERMSG(std::int32_t NSEV, std::string_view SUBR, std::string_view MSGID);

// A warning about the input, made before any calculation (id GRnn): the block as for any
// warning, then the detail line that names the values concerned. It is counted with
// the other warnings but never ends a run: each one lets the run pass one warning more,
// so that the calculation may still pass ten of its own.
void SERMSG_INPUT(std::string_view SUBR, std::string_view MSGID, std::string_view detail);

// In-process callers that keep their own account of the messages (the Python module,
// which turns them into results) may take them instead of the report: with a sink set,
// SERMSG hands every message to it and writes nothing; a warning then returns uncounted,
// so no warning limit ends a long sweep, and a terminal message still ends the run.
// A setting, not run state: reset_run_state() leaves it; nullptr goes back to the report.
using MessageSink = void (*)(std::int32_t NSEV, std::string_view SUBR, std::string_view MSGID);
void set_message_sink(MessageSink sink);

}  // namespace core
