#include "sermsg.h"

#include <string>

#include "edit.h"
#include "runend.h"
#include "state.h"
#include "units.h"

namespace core {

namespace {

constexpr std::int32_t kWarningLimit = 10;  // warnings a run may pass; the next one ends it

std::int32_t NWARN = 0;   // warnings issued in this run
std::int32_t NINPUT = 0;  // of them about the input, each raising the limit by one
MessageSink g_sink = nullptr;
RunStateReset reset_nwarn([] { NWARN = NINPUT = 0; });

// A 4-character item: longer texts give their first four characters, shorter ones are
// padded with blanks.
std::string item4(std::string_view s) {
    std::string t(s.substr(0, 4));
    t.resize(4, ' ');
    return t;
}

void line(std::string_view text) { write_record(UNIT_REPORT, text); }

void message_block(std::string_view SUBR, std::string_view MSGID) {
    std::string id = item4(MSGID);
    line("");
    line("");
    line(Record().lit("**").A(id).lit("** - ERROR IN SUBROUTINE").A(item4(SUBR), 8).text());
    line("");
    line(Record().lit(" SEE DATA SET \"ERROR.TXT\" FOR EXPLANATION OF ").A(id).text());
    line("");
}

void warning_goes_on() {
    line("");
    line("");
    line(Record().lit("**").I(NWARN, 2).lit(" WARNINGS ISSUED - EXECUTION CONTINUES **").text());
    line("");
}

}  // namespace

void set_message_sink(MessageSink sink) { g_sink = sink; }

void SERMSG_INPUT(std::string_view SUBR, std::string_view MSGID, std::string_view detail) {
    if (g_sink) {
        g_sink(0, SUBR, MSGID);
        return;
    }
    ++NWARN;
    ++NINPUT;
    message_block(SUBR, MSGID);
    line(detail);
    warning_goes_on();
}

void SERMSG(std::int32_t NSEV, std::string_view SUBR, std::string_view MSGID) {
    if (g_sink) {
        g_sink(NSEV, SUBR, MSGID);
        if (NSEV == 0) return;
        stop_run();
    }
    if (NSEV == 0) {
        ++NWARN;
        message_block(SUBR, MSGID);
        if (NWARN <= kWarningLimit + NINPUT) {
            warning_goes_on();
            return;
        }
        line("** (10) WARNINGS ISSUED - EXECUTION ENDING **");
        line("");
        stop_run();
    }
    message_block(SUBR, MSGID);
    line("** TERMINAL ERROR - EXECUTION ENDING **");
    line("");
    line("");
    stop_run();
}

}  // namespace core
