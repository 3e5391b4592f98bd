// The C side of the web engine: whole program runs over the in-memory file system and
// the batch layer's equilibria and flames, as plain C functions for engine.mjs. Only the
// glue to JavaScript lives here; the files, units and arrays are engine.mjs's work.
#include <emscripten/emscripten.h>

#include <cstring>
#include <exception>
#include <string>

#include "batch.h"
#include "eqmd.h"
#include "hp.h"
#include "runend.h"
#include "tp.h"
#include "uv.h"

using namespace core;

namespace {

std::string g_out, g_err, g_text;  // the last run's console streams; the last error text
char g_terminal[5] = "    ";         // the terminal message id of the last batch

void (*const BODIES[3])() = {tp::ZORVATH, uv::BRASKOT2, hp::QUELLIN};

}  // namespace

extern "C" {

// Runs program 0 (zorvath), 1 (braskot2) or 2 (quellin) on the files of the working
// directory, as its main does, with the console captured; returns its exit status, or
// -1 when the program is unknown or -2 when something escaped the run (g_text says what).
EMSCRIPTEN_KEEPALIVE int web_run(int program) {
    g_out.clear();
    g_err.clear();
    g_text.clear();
    if (program < 0 || program > 2) return -1;
    // The table-row rule is a setting that outlives a run: each program sets its own.
    if (program == 0) set_eqmd_table_row_rule(TableRowRule::Divide);
    else flame::configure_solver();
    console_capture(&g_out, &g_err);
    int status;
    try {
        status = run_program(BODIES[program]);
    } catch (const std::exception& e) {
        g_text = e.what();
        status = -2;
    } catch (...) {
        g_text = "an unknown exception";
        status = -2;
    }
    console_capture(nullptr, nullptr);
    return status;
}

EMSCRIPTEN_KEEPALIVE const char* web_out() { return g_out.data(); }
EMSCRIPTEN_KEEPALIVE int web_out_size() { return static_cast<int>(g_out.size()); }
EMSCRIPTEN_KEEPALIVE const char* web_err() { return g_err.data(); }
EMSCRIPTEN_KEEPALIVE int web_err_size() { return static_cast<int>(g_err.size()); }
EMSCRIPTEN_KEEPALIVE const char* web_text() { return g_text.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_terminal() { return g_terminal; }

// Loads the tables of the batches; 0 on success, else web_text() holds the report.
EMSCRIPTEN_KEEPALIVE int web_load(const char* path) {
    g_text = batch::load(path);
    return g_text.empty() ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE void web_set_oxidizer(double N2, double Ar, double CO2, double H2O) {
    batch::set_oxidizer({N2, Ar, CO2, H2O});
}

// A batch over n states. `in` holds the state columns one after another (7 for
// equilibria: AN AM AL AK F T P; 11 for flames: AN AM AL AK F T TREAC PREAC HREAC
// RMOLES AVMR), each n values; the results go to the Out buffers. Returns the state a
// terminal message stopped the batch at (its id in web_terminal()), -1 when none, or
// -2 when something escaped (web_text()).
EMSCRIPTEN_KEEPALIVE int web_batch(int kind, int n, const double* in, double* X, double* prop, double* TP,
                                   char* ids, int* ends, int fresh) {
    std::memcpy(g_terminal, "    ", 4);
    g_text.clear();
    const double* c[11];
    for (int k = 0; k < 11; ++k) c[k] = in + static_cast<std::ptrdiff_t>(k) * n;
    const batch::Out out{X, prop, nullptr, TP, ids, ends};
    try {
        batch::End end;
        if (kind == 0) {
            const batch::EquilibriumStates s{static_cast<size_t>(n), c[0], c[1], c[2], c[3], c[4], c[5], c[6]};
            end = batch::equilibria(s, out, fresh != 0);
        } else {
            const batch::FlameStates s{static_cast<size_t>(n), c[0], c[1], c[2], c[3], c[4], c[5],
                                       c[6], c[7], c[8], c[9], c[10]};
            end = batch::flames(s, kind == 2, out, fresh != 0);
        }
        std::memcpy(g_terminal, end.terminal, 4);
        return static_cast<int>(end.stopped_at);
    } catch (const std::exception& e) {
        g_text = e.what();
    } catch (...) {
        g_text = "an unknown exception";
    }
    return -2;
}

}  // extern "C"
