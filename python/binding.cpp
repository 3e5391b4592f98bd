// The C++ side of combustion_suite: NumPy arrays in and out of the core's batch layer
// (batch.h), which poses the states, runs PER or the flame iteration and copies the
// groups out. Only the Python glue lives here; broadcasting, names and units are the
// package's work.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "batch.h"
#include "state.h"

namespace py = pybind11;
using namespace core;

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The results of a batch of n states, as NumPy arrays.
struct Results {
    explicit Results(py::ssize_t n)
        : X({n, py::ssize_t(batch::N_X)}), prop({n, py::ssize_t(batch::N_PROP)}),
          dX({n, py::ssize_t(3), py::ssize_t(NSPEC)}), TP({n, py::ssize_t(2)}),
          ids(py::dtype("S4"), std::vector<py::ssize_t>{n}), ends({n}),
          sound({n, py::ssize_t(batch::N_SOUND)}) {}
    Array X, prop, dX, TP;  // TP: the state's final T and P (flames)
    py::array ids;
    py::array_t<int> ends;  // flames: how the iteration ended (FlameEnd), 0 converged
    Array sound;            // entropy and sound (SPROP)

    batch::Out out() {
        return {X.mutable_data(), prop.mutable_data(), dX.mutable_data(), TP.mutable_data(),
                static_cast<char*>(ids.mutable_data()), ends.mutable_data(), sound.mutable_data()};
    }
    py::tuple as_tuple(const batch::End& end) const {
        return py::make_tuple(X, prop, dX, TP, ids, ends, py::ssize_t(end.stopped_at),
                              std::string(end.terminal, 4), sound);
    }
};

py::ssize_t same_length(std::initializer_list<const Array*> arrays) {
    for (const Array* a : arrays)
        if (a->ndim() != 1 || a->shape(0) != (*arrays.begin())->shape(0))
            throw std::invalid_argument("the state arrays must be one-dimensional and of one length");
    return (*arrays.begin())->shape(0);
}

void require_tables() {
    if (!batch::loaded()) throw std::runtime_error("the property tables are not loaded");
}

py::tuple equilibria(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                     const Array& T, const Array& P, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P});
    require_tables();
    Results r(n);
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    return r.as_tuple(batch::equilibria(s, r.out(), fresh));
}

py::tuple flames(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                 const Array& T, const Array& TREAC, const Array& PREAC, const Array& HREAC, const Array& RMOLES,
                 const Array& AVMR, bool constant_volume, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &TREAC, &PREAC, &HREAC, &RMOLES, &AVMR});
    require_tables();
    Results r(n);
    const batch::FlameStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(),
                               TREAC.data(), PREAC.data(), HREAC.data(), RMOLES.data(), AVMR.data()};
    return r.as_tuple(batch::flames(s, constant_volume, r.out(), fresh));
}

py::tuple isentropic(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                     const Array& T, const Array& P, const Array& X, const Array& target, int kind, bool frozen,
                     bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P, &target});
    require_tables();
    if (X.ndim() != 2 || X.shape(0) != n || X.shape(1) != batch::N_X)
        throw std::invalid_argument("X: one row of X(1..13) per state");
    if (kind < 0 || kind > 2) throw std::invalid_argument("kind: 0 pressure, 1 temperature, 2 volume ratio");
    Results r(n);
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    return r.as_tuple(batch::isentropic(s, X.data(), IsentropicTarget(kind), target.data(), frozen, r.out(), fresh));
}

py::tuple detonations(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                      const Array& TREAC, const Array& PREAC, const Array& HREAC, const Array& RMOLES,
                      const Array& AVMR, const Array& gamma1, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &TREAC, &PREAC, &HREAC, &RMOLES, &AVMR, &gamma1});
    require_tables();
    Results r(n);
    Array det({n, py::ssize_t(batch::N_DET)});
    const batch::FlameStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), TREAC.data(),
                               TREAC.data(), PREAC.data(), HREAC.data(), RMOLES.data(), AVMR.data()};
    const batch::End end = batch::detonations(s, gamma1.data(), r.out(), det.mutable_data(), fresh);
    return py::make_tuple(r.as_tuple(end), det);
}

py::tuple shocks(const Array& AN, const Array& AM, const Array& AL, const Array& AK, const Array& F,
                 const Array& T, const Array& P, const Array& X, const Array& u1, bool fresh) {
    const py::ssize_t n = same_length({&AN, &AM, &AL, &AK, &F, &T, &P, &u1});
    require_tables();
    if (X.ndim() != 2 || X.shape(0) != n || X.shape(1) != batch::N_X)
        throw std::invalid_argument("X: one row of X(1..13) per state");
    Results r(n);
    Array shock({n, py::ssize_t(batch::N_SHOCK)});
    const batch::EquilibriumStates s{size_t(n), AN.data(), AM.data(), AL.data(), AK.data(), F.data(), T.data(), P.data()};
    const batch::End end = batch::shocks(s, X.data(), u1.data(), r.out(), shock.mutable_data(), fresh);
    return py::make_tuple(r.as_tuple(end), shock);
}

void load(const std::string& path) {
    const std::string error = batch::load(path);
    if (!error.empty()) {
        PyErr_SetString(PyExc_OSError, error.c_str());
        throw py::error_already_set();
    }
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
    m.def("isentropic", &isentropic, "Isentropes from the states AN, AM, AL, AK, F, T, P (1-D arrays) of composition X (n x 13) to target "
          "(kind 0: pressure, Pa; 1: temperature, K; 2: volume ratio), shifting or frozen.");
    m.def("detonations", &detonations, "Chapman-Jouguet detonations of the charges AN, AM, AL, AK, F, TREAC, "
          "PREAC, HREAC (kJ/kmol of fuel), RMOLES, AVMR, with the reactants' cp/cv gamma1 (1-D arrays).");
    m.def("shocks", &shocks, "Normal shocks at fixed composition into the states AN, AM, AL, AK, F, T, P of "
          "composition X (n x 13), entering at u1 (m/s).");
    m.def("set_oxidizer", [](double QN2, double QAR, double QCO2, double QH2O) {
              batch::set_oxidizer({QN2, QAR, QCO2, QH2O});
          }, py::arg("N2"), py::arg("Ar"), py::arg("CO2"), py::arg("H2O"),
          "Sets the oxidizer of every later call: moles of N2, Ar, CO2 and H2O per mole of O2.");
    m.attr("NSPEC") = NSPEC;
    m.attr("SOUND_FIELDS") = py::make_tuple("S", "DST", "DSP", "DSF", "CPF", "GAMF", "GAMS", "AF", "AE");
}
