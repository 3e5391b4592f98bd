// The C++ side of combustion_suite: the core's routines over arrays of states.
//
// Thin on purpose: each state is posed into BLOC (and FUEL) exactly as the programs'
// drivers pose it, the same PER and flame iteration run, and the groups are copied out.
// Messages come through SERMSG's sink instead of a report: the last EQMD message of a
// state is kept as its message id, and a terminal message ends the sweep, which Python
// turns into a ValueError. Broadcasting, names and units are the Python side's work.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "eqmd.h"
#include "flame.h"
#include "routines.h"
#include "runend.h"
#include "sermsg.h"
#include "state.h"

namespace py = pybind11;
using namespace core;

namespace {

// The tables as TABLES left them, put back before every sweep: each call starts from a
// clean run state (cold solver, no warnings) with the tables in place.
struct Tables {
    bool loaded = false;
    DDCON_t DDCON;
    DDAIR_t DDAIR;
    DDATA_t DDATA;
} g_tables;

// What the sink saw for the state in hand.
struct Messages {
    char state_id[4];     // the last EQMD message of the state, blank if none
    char terminal_id[4];  // the terminal message that ended the sweep
} g_msg;

void take_message(std::int32_t NSEV, std::string_view SUBR, std::string_view MSGID) {
    char id[4] = {' ', ' ', ' ', ' '};
    std::memcpy(id, MSGID.data(), std::min<size_t>(4, MSGID.size()));
    if (NSEV != 0) std::memcpy(g_msg.terminal_id, id, 4);
    else if (SUBR.substr(0, 4) == "EQMD") std::memcpy(g_msg.state_id, id, 4);
}

// A sweep's frame: console captured, messages to the sink, a clean run state with the
// loaded tables, the program's table-row rule; the settings restored when it ends.
class Sweep {
public:
    // fresh: a clean run state (a new sweep); otherwise the solver's warm start goes on
    // from the previous piece of the same sweep.
    Sweep(TableRowRule rule, bool fresh) {
        if (!g_tables.loaded) throw std::runtime_error("the property tables are not loaded");
        console_capture(&console_, &console_);
        set_message_sink(take_message);
        if (fresh) {
            reset_run_state();
            DDCON = g_tables.DDCON;
            DDAIR = g_tables.DDAIR;
            DDATA = g_tables.DDATA;
        }
        set_eqmd_table_row_rule(rule);
        std::memset(g_msg.terminal_id, ' ', 4);
    }
    ~Sweep() {
        set_eqmd_table_row_rule(TableRowRule::Divide);
        set_message_sink(nullptr);
        console_capture(nullptr, nullptr);
    }
    Sweep(const Sweep&) = delete;
    Sweep& operator=(const Sweep&) = delete;

private:
    std::string console_;
};

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The results of a sweep of n states, as NumPy arrays; the state that a terminal message
// stopped at (-1: none) and that message's id.
struct Results {
    explicit Results(py::ssize_t n)
        : X({n, py::ssize_t(13)}), prop({n, py::ssize_t(13)}), dX({n, py::ssize_t(3), py::ssize_t(NSPEC)}),
          TP({n, py::ssize_t(2)}), ids(py::dtype("S4"), std::vector<py::ssize_t>{n}), ends({n}) {}
    Array X, prop, dX, TP;  // TP: the state's final T and P (flames)
    py::array ids;
    py::array_t<int> ends;  // flames: how the iteration ended (FlameEnd), 0 converged
    py::ssize_t stopped_at = -1;
    std::string terminal;

    // The groups into row i; NaN for a state that has none.
    void store(py::ssize_t i, bool solved) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        double* x = X.mutable_data(i);
        for (int k = 1; k <= 13; ++k) x[k - 1] = solved ? BLOC.X(k) : nan;
        const PROP_t& p = PROP;
        const double props[13] = {p.AVM, p.R, p.H, p.U, p.DRT, p.DHT, p.DUT, p.DRP, p.DHP, p.DUP, p.DRF, p.DHF, p.DUF};
        double* q = prop.mutable_data(i);
        for (int k = 0; k < 13; ++k) q[k] = solved ? props[k] : nan;
        const Vec1<NSPEC>* d[3] = {&TAB.DXT, &TAB.DXP, &TAB.DXF};
        for (int j = 0; j < 3; ++j) {
            double* r = dX.mutable_data(i, j);
            for (int k = 1; k <= NSPEC; ++k) r[k - 1] = solved ? (*d[j])(k) : nan;
        }
        double* tp = TP.mutable_data(i);
        tp[0] = solved ? BLOC.T : nan;
        tp[1] = solved ? BLOC.P : nan;
        std::memcpy(static_cast<char*>(ids.mutable_data(i)), g_msg.state_id, 4);
        *ends.mutable_data(i) = 0;
    }

    void stop(py::ssize_t i) {
        stopped_at = i;
        terminal.assign(g_msg.terminal_id, 4);
    }

    py::tuple as_tuple() const {
        return py::make_tuple(X, prop, dX, TP, ids, ends, stopped_at, terminal);
    }
};

void require_same_length(std::initializer_list<const Array*> arrays) {
    for (const Array* a : arrays)
        if (a->ndim() != 1 || a->shape(0) != (*arrays.begin())->shape(0))
            throw std::invalid_argument("the state arrays must be one-dimensional and of one length");
}

// Runs one state's solve; false when a terminal message ended it (the sweep stops there).
template <class Solve>
bool run_state(Solve&& solve) {
    std::memset(g_msg.state_id, ' ', 4);
    try {
        solve();
    } catch (const RunEnd&) {
        return false;
    }
    return true;
}

py::tuple equilibria(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                     const Array& T, const Array& P, bool fresh) {
    require_same_length({&AN, &AM, &AL, &AK, &F, &T, &P});
    const py::ssize_t n = AN.shape(0);
    Results out(n);
    Sweep sweep(TableRowRule::Divide, fresh);  // the fixed-T,P program's rule
    for (py::ssize_t i = 0; i < n; ++i) {
        BLOC_t& b = BLOC;
        b.AN = AN.at(i), b.AM = AM.at(i), b.AL = AL.at(i), b.AK = AK.at(i);
        b.F = F.at(i), b.T = T.at(i), b.P = P.at(i);
        if (!run_state(PER)) {
            out.stop(i);
            break;
        }
        out.store(i, GGCNTL.IERQ == 0);
    }
    return out.as_tuple();
}

// Adiabatic flames of the states, through the flame programs' own iteration: the
// reactant enthalpy in kJ/kmol of fuel as the input files hold it, the guess T, and the
// energy kept (internal energy at constant volume, enthalpy at constant pressure).
py::tuple flames(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                 const Array& T, const Array& TREAC, const Array& PREAC, const Array& HREAC, const Array& RMOLES,
                 const Array& AVMR, bool constant_volume, bool fresh) {
    require_same_length({&AN, &AM, &AL, &AK, &F, &T, &TREAC, &PREAC, &HREAC, &RMOLES, &AVMR});
    const FlameEnergy energy = constant_volume ? FlameEnergy::U : FlameEnergy::H;
    const py::ssize_t n = AN.shape(0);
    Results out(n);
    Sweep sweep(TableRowRule::Scale, fresh);  // the flame programs' rule
    for (py::ssize_t i = 0; i < n; ++i) {
        BLOC_t& b = BLOC;
        FUEL_t& f = FUEL;
        b.AN = AN.at(i), b.AM = AM.at(i), b.AL = AL.at(i), b.AK = AK.at(i), b.F = F.at(i), b.T = T.at(i);
        f = {HREAC.at(i), TREAC.at(i), PREAC.at(i), RMOLES.at(i), AVMR.at(i)};
        f.HREAC = f.HREAC * 1000;  // kJ/kmol to J/kmol, as the programs convert it
        GGCNTL.IERQ = 0;
        FlameEnd end = FlameEnd::Converged;
        if (!run_state([&] {
                const std::optional<FlameEnd> cannot_start = flame_start(energy);
                end = cannot_start ? *cannot_start : flame_iterate(energy, PER).end;
            })) {
            out.stop(i);
            break;
        }
        out.store(i, end == FlameEnd::Converged && GGCNTL.IERQ == 0);
        *out.ends.mutable_data(i) = static_cast<int>(end);
    }
    return out.as_tuple();
}

void load(const std::string& path) {
    static std::string file;  // run_program takes a plain function
    file = path;
    std::string console;
    console_capture(&console, &console);
    const int status = run_program([] { load_tables(file); });
    console_capture(nullptr, nullptr);
    if (status != 0) {
        // The input/output report, without its leading line end: "run-time error F2001: ...".
        const size_t from = console.find_first_not_of("\r\n");
        PyErr_SetString(PyExc_OSError, from == std::string::npos ? "" : console.c_str() + from);
        throw py::error_already_set();
    }
    g_tables = {true, DDCON, DDAIR, DDATA};
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "The solver core of the combustion suite (TABLES, PER) over arrays of states.";
    m.def("load_tables", &load, py::arg("path"),
          "Loads a property file (GPROP.DAT format) for every later call; OSError with the "
          "input/output report when it cannot be read.");
    m.def("equilibria", &equilibria, "Fixed-T,P equilibria of the states AN, AM, AL, AK, F, T, P (1-D arrays).");
    m.def("flames", &flames, "Adiabatic flames of the states AN, AM, AL, AK, F, T guess, TREAC, PREAC, "
          "HREAC (kJ/kmol of fuel), RMOLES, AVMR (1-D arrays), at constant volume or pressure.");
    m.attr("NSPEC") = NSPEC;
}
