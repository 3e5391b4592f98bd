#include "batch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "entropy.h"
#include "eqmd.h"
#include "flame.h"
#include "routines.h"
#include "runend.h"
#include "sermsg.h"

namespace core::batch {

namespace {

// The tables as the loader left them, put back before every fresh batch: each sweep
// starts from a clean run state (cold solver, no warnings) with the tables in place.
struct Tables {
    bool loaded = false;
    DDCON_t DDCON;
    DDAIR_t DDAIR;
    DDATA_t DDATA;
    DDENT_t DDENT;
} g_tables;

DDAIR_t g_oxidizer{3.76, 0.0, 0.0, 0.0};

// What the sink saw for the state in hand.
struct Messages {
    char state_id[4];     // the last EQMD message of the state, blank if none
    char terminal_id[4];  // the terminal message that ended the batch
} g_msg;

void take_message(std::int32_t NSEV, std::string_view SUBR, std::string_view MSGID) {
    char id[4] = {' ', ' ', ' ', ' '};
    std::memcpy(id, MSGID.data(), std::min<size_t>(4, MSGID.size()));
    if (NSEV != 0) std::memcpy(g_msg.terminal_id, id, 4);
    else if (SUBR.substr(0, 4) == "EQMD") std::memcpy(g_msg.state_id, id, 4);
}

// A batch's frame: console captured, messages to the sink, a clean run state with the
// loaded tables when fresh, the program's table-row rule and the batch's oxidizer; the
// settings restored when it ends.
class Frame {
public:
    Frame(TableRowRule rule, bool fresh) {
        if (!g_tables.loaded) throw std::runtime_error("the property tables are not loaded");
        console_capture(&console_, &console_);
        set_message_sink(take_message);
        if (fresh) {
            reset_run_state();
            DDCON = g_tables.DDCON;
            DDATA = g_tables.DDATA;
            DDENT = g_tables.DDENT;
        }
        DDAIR = g_oxidizer;
        set_eqmd_table_row_rule(rule);
        std::memset(g_msg.terminal_id, ' ', 4);
    }
    ~Frame() {
        set_eqmd_table_row_rule(TableRowRule::Divide);
        set_message_sink(nullptr);
        console_capture(nullptr, nullptr);
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

private:
    std::string console_;
};

// PER with the state's message cleared first: a flame's message is that of its last
// solve, not of a step on the way (a cold guess's GE01, say).
void per_with_own_message() {
    std::memset(g_msg.state_id, ' ', 4);
    PER();
}

// The groups into row i of the buffers; NaN for a state that has none.
void store(const Out& out, std::size_t i, bool solved) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double* x = out.X + i * N_X;
    for (int k = 1; k <= N_X; ++k) x[k - 1] = solved ? BLOC.X(k) : nan;
    const PROP_t& p = PROP;
    const double props[N_PROP] = {p.AVM, p.R, p.H, p.U, p.DRT, p.DHT, p.DUT, p.DRP, p.DHP, p.DUP, p.DRF, p.DHF, p.DUF};
    double* q = out.prop + i * N_PROP;
    for (int k = 0; k < N_PROP; ++k) q[k] = solved ? props[k] : nan;
    if (out.dX) {
        const Vec1<NSPEC>* d[3] = {&TAB.DXT, &TAB.DXP, &TAB.DXF};
        double* r = out.dX + i * N_DX;
        for (int j = 0; j < 3; ++j)
            for (int k = 1; k <= NSPEC; ++k) r[j * NSPEC + k - 1] = solved ? (*d[j])(k) : nan;
    }
    out.TP[2 * i] = solved ? BLOC.T : nan;
    out.TP[2 * i + 1] = solved ? BLOC.P : nan;
    if (out.ids) std::memcpy(out.ids + 4 * i, g_msg.state_id, 4);
    if (out.codes) out.codes[i] = message_code(g_msg.state_id);
    if (out.ends) out.ends[i] = 0;
    if (out.sound) {
        const SPROP_t& e = SPROP;
        const double v[N_SOUND] = {e.S, e.DST, e.DSP, e.DSF, e.CPF, e.GAMF, e.GAMS, e.AF, e.AE};
        for (int k = 0; k < N_SOUND; ++k) out.sound[i * N_SOUND + k] = solved ? v[k] : nan;
    }
}

// store() after the entropy of the state PER has just solved.
void store_with_entropy(const Out& out, std::size_t i, bool solved) {
    if (solved && out.sound) PERS();
    store(out, i, solved);
}

End stopped(std::size_t i) {
    End e;
    e.stopped_at = static_cast<std::ptrdiff_t>(i);
    std::memcpy(e.terminal, g_msg.terminal_id, 4);
    return e;
}

// Runs one state's solve; false when a terminal message ended it (the batch stops there).
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

}  // namespace

std::string load(std::string_view path) {
    static std::string file;  // run_program takes a plain function
    file = std::string(path);
    std::string console;
    console_capture(&console, &console);
    const int status = run_program([] { load_tables(file); });
    console_capture(nullptr, nullptr);
    if (status != 0) {
        const size_t from = console.find_first_not_of("\r\n");
        return from == std::string::npos ? std::string("run-time error") : console.substr(from);
    }
    g_tables = {true, DDCON, DDAIR, DDATA, DDENT};
    return {};
}

bool loaded() { return g_tables.loaded; }

std::array<double, NSPEC> species_masses() {
    std::array<double, NSPEC> m{};
    for (int k = 1; k <= NSPEC; ++k) m[k - 1] = g_tables.DDATA.SM(k);
    return m;
}

std::uint8_t message_code(const char id[4]) {
    const std::string_view given(id, 4);
    const std::string_view trimmed = given.substr(0, given.find(' '));
    if (trimmed.empty()) return 0;
    for (std::size_t k = 1; k + 1 < MESSAGE_IDS.size(); ++k)
        if (MESSAGE_IDS[k] == trimmed) return static_cast<std::uint8_t>(k);
    return MESSAGE_IDS.size() - 1;
}

void set_oxidizer(const DDAIR_t& oxidizer) { g_oxidizer = oxidizer; }
DDAIR_t oxidizer() { return g_oxidizer; }

End equilibria(const EquilibriumStates& s, const Out& out, bool fresh) {
    Frame frame(TableRowRule::Divide, fresh);  // the fixed-T,P program's rule
    for (std::size_t i = 0; i < s.n; ++i) {
        BLOC_t& b = BLOC;
        b.AN = s.AN[i], b.AM = s.AM[i], b.AL = s.AL[i], b.AK = s.AK[i];
        b.F = s.F[i], b.T = s.T[i], b.P = s.P[i];
        if (!run_state(PER)) return stopped(i);
        store_with_entropy(out, i, GGCNTL.IERQ == 0);
    }
    return {};
}

// Adiabatic flames through the flame programs' own iteration: the energy kept is the
// internal energy at constant volume, the enthalpy at constant pressure.
End flames(const FlameStates& s, bool constant_volume, const Out& out, bool fresh) {
    const FlameEnergy energy = constant_volume ? FlameEnergy::U : FlameEnergy::H;
    Frame frame(TableRowRule::Scale, fresh);  // the flame programs' rule
    for (std::size_t i = 0; i < s.n; ++i) {
        BLOC_t& b = BLOC;
        FUEL_t& f = FUEL;
        b.AN = s.AN[i], b.AM = s.AM[i], b.AL = s.AL[i], b.AK = s.AK[i], b.F = s.F[i], b.T = s.T[i];
        f = {s.HREAC[i], s.TREAC[i], s.PREAC[i], s.RMOLES[i], s.AVMR[i]};
        f.HREAC = f.HREAC * 1000;  // kJ/kmol to J/kmol, as the programs convert it
        GGCNTL.IERQ = 0;
        FlameEnd end = FlameEnd::Converged;
        if (!run_state([&] {
                const std::optional<FlameEnd> cannot_start = flame_start(energy);
                end = cannot_start ? *cannot_start : flame_iterate(energy, per_with_own_message).end;
            }))
            return stopped(i);
        store_with_entropy(out, i, end == FlameEnd::Converged && GGCNTL.IERQ == 0);
        if (out.ends) out.ends[i] = static_cast<int>(end);
    }
    return {};
}

End isentropic(const EquilibriumStates& s, const double* X, IsentropicTarget kind, const double* target,
               bool frozen, const Out& out, bool fresh) {
    Frame frame(TableRowRule::Divide, fresh);
    for (std::size_t i = 0; i < s.n; ++i) {
        BLOC_t& b = BLOC;
        b.AN = s.AN[i], b.AM = s.AM[i], b.AL = s.AL[i], b.AK = s.AK[i];
        b.F = s.F[i], b.T = s.T[i], b.P = s.P[i];
        GGCNTL.IERQ = 0;
        Vec1<13> X1;
        if (X) std::copy(X + i * N_X, X + (i + 1) * N_X, X1.v);
        ProcessEnd end = ProcessEnd::NotConverged;
        if (!run_state([&] { end = isentrope(kind, target[i], frozen, X ? &X1 : nullptr); })) return stopped(i);
        store(out, i, end == ProcessEnd::Solved);
        if (out.ends) out.ends[i] = static_cast<int>(end);
    }
    return {};
}

End detonations(const FlameStates& s, const double* gamma1, const Out& out, double* det, bool fresh) {
    Frame frame(TableRowRule::Divide, fresh);
    for (std::size_t i = 0; i < s.n; ++i) {
        BLOC_t& b = BLOC;
        FUEL_t& f = FUEL;
        b.AN = s.AN[i], b.AM = s.AM[i], b.AL = s.AL[i], b.AK = s.AK[i], b.F = s.F[i], b.T = s.T[i];
        f = {s.HREAC[i] * 1000, s.TREAC[i], s.PREAC[i], s.RMOLES[i], s.AVMR[i]};  // kJ to J
        GGCNTL.IERQ = 0;
        DetonationResult r{};
        if (!run_state([&] { r = chapman_jouguet(gamma1[i]); })) return stopped(i);
        store(out, i, r.end == ProcessEnd::Solved);
        if (out.ends) out.ends[i] = static_cast<int>(r.end);
        const double v[N_DET] = {r.D, r.u2, r.P_ratio, r.T_ratio, r.rho_ratio, r.Mach};
        for (int k = 0; k < N_DET; ++k) det[i * N_DET + k] = v[k];
    }
    return {};
}

End shocks(const EquilibriumStates& s, const double* X, const double* u1, const Out& out, double* shock,
           bool fresh) {
    Frame frame(TableRowRule::Divide, fresh);
    for (std::size_t i = 0; i < s.n; ++i) {
        BLOC_t& b = BLOC;
        b.AN = s.AN[i], b.AM = s.AM[i], b.AL = s.AL[i], b.AK = s.AK[i], b.F = s.F[i];
        Vec1<13> X1;
        std::copy(X + i * N_X, X + (i + 1) * N_X, X1.v);
        ShockResult r{};
        if (!run_state([&] { r = frozen_shock(X1, s.T[i], s.P[i], u1[i]); })) return stopped(i);
        store(out, i, r.end == ProcessEnd::Solved);
        if (out.ends) out.ends[i] = static_cast<int>(r.end);
        const double v[N_SHOCK] = {r.u2, r.P_ratio, r.T_ratio, r.rho_ratio};
        for (int k = 0; k < N_SHOCK; ++k) shock[i * N_SHOCK + k] = v[k];
    }
    return {};
}

}  // namespace core::batch
