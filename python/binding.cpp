// The C++ side of combustion_suite: NumPy arrays in and out of the core's batch layer
// (batch.h), which poses the states, runs PER or the flame iteration and writes the
// groups into the caller's buffers. Only the Python glue lives here; broadcasting,
// names, units and the layout of the results are the package's work.
//
// The core's state is process-wide: every call runs under one mutex, with the GIL
// released so that other Python threads go on meanwhile. (The package also holds its own
// lock across a sweep of several calls and the loading of tables.)
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "batch.h"
#include "state.h"

namespace py = pybind11;
using namespace core;

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

std::mutex g_core;

// The start of an output buffer the caller allocated: n rows of `columns` values of T,
// C-contiguous and writable (no copy is made, so a wrong buffer is an error); None gives
// null where allowed.
template <class T>
T* buffer(const py::object& given, py::ssize_t n, py::ssize_t columns, const char* what, bool optional = false) {
    if (given.is_none()) {
        if (optional) return nullptr;
        throw std::invalid_argument(std::string(what) + ": an output buffer is required");
    }
    if (!py::isinstance<py::array>(given)) throw std::invalid_argument(std::string(what) + ": not an array");
    auto a = py::reinterpret_borrow<py::array>(given);
    const bool shaped = a.ndim() >= 1 && a.shape(0) == n && a.size() == n * columns;
    if (!a.dtype().is(py::dtype::of<T>()) || !shaped || !(a.flags() & py::array::c_style) || !a.writeable())
        throw std::invalid_argument(std::string(what) + ": a writable C-contiguous buffer of " + std::to_string(n) +
                                    " x " + std::to_string(columns) + " of the right type is required");
    return static_cast<T*>(a.mutable_data());
}

// The caller's buffers (X, prop, dX or None, TP, codes, ends or None, sound or None) for n
// states.
batch::Out outputs(const py::tuple& out, py::ssize_t n) {
    if (out.size() != 7) throw std::invalid_argument("out: (X, prop, dX, TP, codes, ends, sound)");
    batch::Out o;
    o.X = buffer<double>(out[0], n, batch::N_X, "X");
    o.prop = buffer<double>(out[1], n, batch::N_PROP, "prop");
    o.dX = buffer<double>(out[2], n, batch::N_DX, "dX", true);
    o.TP = buffer<double>(out[3], n, 2, "TP");
    o.codes = buffer<std::uint8_t>(out[4], n, 1, "codes");
    o.ends = buffer<int>(out[5], n, 1, "ends", true);
    o.sound = buffer<double>(out[6], n, batch::N_SOUND, "sound", true);
    return o;
}

py::ssize_t same_length(std::initializer_list<const Array*> arrays) {
    for (const Array* a : arrays)
        if (a->ndim() != 1 || a->shape(0) != (*arrays.begin())->shape(0))
            throw std::invalid_argument("the state arrays must be one-dimensional and of one length");
    return (*arrays.begin())->shape(0);
}

// Runs a batch under the core's mutex with the GIL released; (stopped_at, terminal id).
template <class Run>
py::tuple locked(Run&& run) {
    batch::End end;
    {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> hold(g_core);
        if (!batch::loaded()) throw std::runtime_error("the property tables are not loaded");
        end = run();
    }
    return py::make_tuple(py::ssize_t(end.stopped_at), std::string(end.terminal, 4));
}

py::tuple equilibria(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                     const Array& T, const Array& P, const py::tuple& out, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P});
    const batch::Out o = outputs(out, n);
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    return locked([&] { return batch::equilibria(s, o, fresh); });
}

py::tuple flames(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                 const Array& T, const Array& TREAC, const Array& PREAC, const Array& HREAC, const Array& RMOLES,
                 const Array& AVMR, bool constant_volume, const py::tuple& out, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &TREAC, &PREAC, &HREAC, &RMOLES, &AVMR});
    const batch::Out o = outputs(out, n);
    const batch::FlameStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(),
                               TREAC.data(), PREAC.data(), HREAC.data(), RMOLES.data(), AVMR.data()};
    return locked([&] { return batch::flames(s, constant_volume, o, fresh); });
}

const double* compositions(const Array& X, py::ssize_t n) {
    if (X.ndim() != 2 || X.shape(0) != n || X.shape(1) != batch::N_X)
        throw std::invalid_argument("X: one row of X(1..13) per state");
    return X.data();
}

py::tuple isentropic(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                     const Array& T, const Array& P, const Array& X, const Array& target, int kind, bool frozen,
                     const py::tuple& out, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P, &target});
    const double* X1 = compositions(X, n);
    if (kind < 0 || kind > 2) throw std::invalid_argument("kind: 0 pressure, 1 temperature, 2 volume ratio");
    const batch::Out o = outputs(out, n);
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    return locked([&] { return batch::isentropic(s, X1, IsentropicTarget(kind), target.data(), frozen, o, fresh); });
}

py::tuple detonations(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                      const Array& TREAC, const Array& PREAC, const Array& HREAC, const Array& RMOLES,
                      const Array& AVMR, const Array& gamma1, const py::tuple& out, const py::object& det, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &TREAC, &PREAC, &HREAC, &RMOLES, &AVMR, &gamma1});
    const batch::Out o = outputs(out, n);
    double* d = buffer<double>(det, n, batch::N_DET, "det");
    const batch::FlameStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), TREAC.data(),
                               TREAC.data(), PREAC.data(), HREAC.data(), RMOLES.data(), AVMR.data()};
    return locked([&] { return batch::detonations(s, gamma1.data(), o, d, fresh); });
}

py::tuple shocks(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                 const Array& T, const Array& P, const Array& X, const Array& u1, const py::tuple& out,
                 const py::object& shock, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P, &u1});
    const double* X1 = compositions(X, n);
    const batch::Out o = outputs(out, n);
    double* r = buffer<double>(shock, n, batch::N_SHOCK, "shock");
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    return locked([&] { return batch::shocks(s, X1, u1.data(), o, r, fresh); });
}

void load(const std::string& path) {
    std::string error;
    {
        py::gil_scoped_release release;
        std::lock_guard<std::mutex> hold(g_core);
        error = batch::load(path);
    }
    if (!error.empty()) {
        PyErr_SetString(PyExc_OSError, error.c_str());
        throw py::error_already_set();
    }
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "The solver core of the combustion suite (TABLES, PER) over arrays of states. Each batch call "
              "writes into out = (X n x 13, prop n x 13, dX n x 36 or None, TP n x 2, codes n uint8, ends n "
              "int32 or None, sound n x 9 or None) and returns (stopped_at, terminal id).";
    m.def("load_tables", &load, py::arg("path"),
          "Loads a property file (GPROP.DAT format) for every later call; OSError with the "
          "input/output report when it cannot be read.");
    m.def("equilibria", &equilibria, "Fixed-T,P equilibria of the states AN, AM, AL, AK, F, T, P (1-D arrays).");
    m.def("flames", &flames, "Adiabatic flames of the states AN, AM, AL, AK, F, T guess, TREAC, PREAC, "
          "HREAC (kJ/kmol of fuel), RMOLES, AVMR (1-D arrays), at constant volume or pressure.");
    m.def("isentropic", &isentropic, "Isentropes from the states AN, AM, AL, AK, F, T, P (1-D arrays) of composition X (n x 13) to target "
          "(kind 0: pressure, Pa; 1: temperature, K; 2: volume ratio), shifting or frozen.");
    m.def("detonations", &detonations, "Chapman-Jouguet detonations of the charges AN, AM, AL, AK, F, TREAC, "
          "PREAC, HREAC (kJ/kmol of fuel), RMOLES, AVMR, with the reactants' cp/cv gamma1 (1-D arrays); the "
          "detonation's numbers into det (n x 6).");
    m.def("shocks", &shocks, "Normal shocks at fixed composition into the states AN, AM, AL, AK, F, T, P of "
          "composition X (n x 13), entering at u1 (m/s); the shock's numbers into shock (n x 4).");
    m.def("set_oxidizer", [](double QN2, double QAR, double QCO2, double QH2O) {
              py::gil_scoped_release release;
              std::lock_guard<std::mutex> hold(g_core);
              batch::set_oxidizer({QN2, QAR, QCO2, QH2O});
          }, py::arg("N2"), py::arg("Ar"), py::arg("CO2"), py::arg("H2O"),
          "Sets the oxidizer of every later call: moles of N2, Ar, CO2 and H2O per mole of O2.");
    m.def("species_masses", [] {
              const auto sm = batch::species_masses();
              py::list masses;
              for (double v : sm) masses.append(v);
              return masses;
          }, "The species' molar masses (kg/kmol) of the loaded tables.");
    py::tuple ids(batch::MESSAGE_IDS.size());
    for (size_t k = 0; k < batch::MESSAGE_IDS.size(); ++k) ids[k] = py::str(std::string(batch::MESSAGE_IDS[k]));
    m.attr("MESSAGE_IDS") = ids;
    m.attr("NSPEC") = NSPEC;
    m.attr("SOUND_FIELDS") = py::make_tuple("S", "DST", "DSP", "DSF", "CPF", "GAMF", "GAMS", "AF", "AE");
}
