"""Properties of every equilibrium the module gives, over random element amounts,
oxidizers, temperatures and pressures (hypothesis): the elements of the charge are
conserved, the seven equilibrium relations hold, and the mole fractions are positive
where their elements are present, zero where not, and sum to 1.

The general method (a fuel without carbon or hydrogen, a charge without nitrogen) holds
them to round-off. A carbon and hydrogen fuel in an oxidizer with nitrogen stays on the
air path, which closes its iteration at about 1E-7 and works at F = 0.9995 within 5E-4
of stoichiometric: its states are held to that."""
import math

import numpy as np
import pytest
from hypothesis import event, given, settings, strategies as st

import combustion_suite as cs
from conftest import DATA

SPECIES = cs.SPECIES
# Atoms of each species (C, H, O, N, Ar).
ATOMS = {"H": (0, 1, 0, 0, 0), "O": (0, 0, 1, 0, 0), "N": (0, 0, 0, 1, 0), "H2": (0, 2, 0, 0, 0),
         "OH": (0, 1, 1, 0, 0), "CO": (1, 0, 1, 0, 0), "NO": (0, 0, 1, 1, 0), "O2": (0, 0, 2, 0, 0),
         "H2O": (0, 2, 1, 0, 0), "CO2": (1, 0, 2, 0, 0), "N2": (0, 0, 0, 2, 0), "Ar": (0, 0, 0, 0, 1)}
# The seven reactions of the tables: product, {reactant: moles}, in their order.
REACTIONS = [("H", {"H2": 0.5}), ("O", {"O2": 0.5}), ("N", {"N2": 0.5}), ("OH", {"H2": 0.5, "O2": 0.5}),
             ("NO", {"O2": 0.5, "N2": 0.5}), ("H2O", {"H2": 1.0, "O2": 0.5}), ("CO2", {"CO": 1.0, "O2": 0.5})]
PSATM = 101325.0
TINY = 1e-250  # below this a mole fraction has lost digits (subnormal region ahead)


def _log10_k_at_nodes():
    """log10 K of the seven reactions at 100, 200, ... 5000 K as GPROP.DAT gives them."""
    lines = (DATA / "GPROP.DAT").read_text().splitlines()
    start = next(i for i, ln in enumerate(lines) if ln.startswith("REACTION NUMBER1"))
    table = []
    for k in range(7):
        rows = lines[start + 1 + 7 * k:start + 7 + 7 * k]
        values = [float(row[c:c + 8]) for row in rows for c in range(0, 72, 8) if row[c:c + 8].strip()]
        assert len(values) == 50
        table.append(values)
    return np.array(table)


LOG10_K = _log10_k_at_nodes()

# The air path's closure: mole fractions sum to 1 and the elements balance to this.
AIR_PATH_CLOSURE = 1e-6
PHI_BAND, PHI_NEAR_ONE = 5e-4, 0.9995  # where the air path works off stoichiometric

def _moles(hi):
    # None, or from a trace up to hi (subnormal amounts aside: see
    # test_states_the_general_method_ends_in_GE12).
    return st.one_of(st.just(0.0), st.floats(1e-9, hi))


oxidizers = st.one_of(
    st.sampled_from(["air", "dry air", "O2", "air+O2:0.30"]),
    st.builds(lambda n2, ar, co2, h2o: {"N2": n2, "Ar": ar, "CO2": co2, "H2O": h2o},
              _moles(8), _moles(1), _moles(0.6), _moles(0.6)))
# Element amounts of the fuel: carbon and hydrogen, either of them zero (so that the
# general method gets most states), nitrogen or none, and oxygen up to 90 % of what would
# burn them.
_amount = lambda hi: st.one_of(st.just(0.0), st.floats(0.01, hi))
amounts = st.builds(lambda which, C, H, o, N: (C * (which != "H"), H * (which != "C"), o * (2 * C + H / 2), N),
                    st.sampled_from(["C", "H", "CH"]), st.floats(0.01, 12), st.floats(0.01, 30),
                    st.one_of(st.just(0.0), st.floats(0.0, 0.9)), _amount(3))
# A common temperature for several states (a table node or any), each with its pressure.
temperatures = st.one_of(st.integers(3, 40).map(lambda j: 100.0 * j), st.floats(300.0, 4000.0))  # PER: to 4000 K
pressures = st.floats(math.log10(0.001 * PSATM), math.log10(1000 * PSATM)).map(lambda e: 10.0 ** e)


def _charge(f, phi, ox):
    """Atoms of C, H, O, N, Ar per mole of fuel in the charge."""
    r0 = (f.C + f.H / 4 - f.O / 2) / phi
    return np.array([f.C + r0 * ox.CO2, f.H + 2 * r0 * ox.H2O, f.O + r0 * (2 + 2 * ox.CO2 + ox.H2O),
                     f.N + 2 * r0 * ox.N2, r0 * ox.Ar])


def _general(f, ox):
    """Whether the state goes to the general method: all but the programs' air with a fuel
    of carbon and hydrogen."""
    return f.C == 0 or f.H == 0 or not ox.is_air


def _posable(f, phi, ox):
    b = _charge(f, phi, ox)
    return f.C + f.H / 4 - f.O / 2 > 0.05 and b[0] < 0.98 * b[2]  # needs oxygen; no solid carbon


# Derandomized: the same 150 examples each run, so that a test run never fails by chance;
# other seeds explore further (pytest --hypothesis-seed=N with derandomize off).
@settings(max_examples=150, deadline=None, database=None, derandomize=True)
@given(st.lists(st.tuples(amounts, st.floats(0.3, 3.0), oxidizers, pressures), min_size=1, max_size=4),
       temperatures)
def test_equilibria_conserve_elements_and_hold_the_equilibrium_relations(states, T):
    posed = []
    for (C, H, O, N), phi, oxidizer, P in states:
        f, ox = cs.Fuel("random", C, H, O, N), cs.oxidizer(oxidizer)
        if _posable(f, phi, ox):
            posed.append((f, phi, ox, P))
    event(f"{len(posed)} states posed")
    if not posed:
        return
    logq = []
    for f, phi, ox, P in posed:
        eq = cs.equilibrium(f, phi, T, P, oxidizer=ox)
        assert eq.solved, (f, phi, ox, T, P, eq.message)
        assert eq.message == ("GE01" if T < 600 else "")
        X = {s: float(eq.X[s]) for s in SPECIES}
        general = _general(f, ox)
        event("general method" if general else "air path")
        closure = 1e-12 if general else AIR_PATH_CLOSURE
        b = _charge(f, phi if general or abs(phi - 1) > PHI_BAND else PHI_NEAR_ONE, ox)
        present = b > 0
        for s in SPECIES:
            if all(present[e] for e in range(5) if ATOMS[s][e]):
                assert X[s] > 0.0, (s, "its elements are in the charge")
            else:
                assert X[s] == 0.0, (s, "an element of it is not in the charge")
        assert math.fsum(X.values()) == pytest.approx(1.0, abs=closure)
        atoms = np.array([math.fsum(X[s] * ATOMS[s][e] for s in SPECIES) for e in range(5)])
        # Each element to 1E-12 of itself, or of all the atoms for a trace of one (the
        # balances are solved relative to oxygen's).
        np.testing.assert_allclose(atoms[present], eq.fuel_per_product * b[present], rtol=closure,
                                   atol=closure * atoms.sum())
        # log10 of each reaction's quotient in partial pressures (atm), where its species
        # are all well above the smallest doubles.
        p = {s: X[s] * P / PSATM for s in SPECIES}
        q = []
        for product, reactants_ in REACTIONS:
            if min(X[s] for s in (product, *reactants_)) > TINY:
                q.append(math.log10(p[product]) - sum(n * math.log10(p[s]) for s, n in reactants_.items()))
            else:
                q.append(math.nan)
        logq.append(q)
    logq = np.array(logq)
    # One equilibrium constant per reaction at one temperature, whatever the pressure and
    # the composition; at a table node the tables' own value.
    for k in range(7):
        seen = logq[~np.isnan(logq[:, k]), k]
        if seen.size:
            assert np.ptp(seen) <= 1e-9, (k + 1, seen)
            if T % 100 == 0:
                assert seen[0] == pytest.approx(LOG10_K[k, int(T) // 100 - 1], abs=1e-9), (k + 1, T)


# A trace of an element that the fuel lacks, brought by the oxidizer: solved, the trace
# kept in the products.
@pytest.mark.parametrize("fuel, oxidizer, T, trace", [
    ("carbon monoxide", {"N2": 3.76, "H2O": 1e-7}, 2400.0, "H2O"),
    (cs.Fuel("C", 1.0, 0.0), {"H2O": 1e-9}, 2400.0, "H2O"),
    (cs.Fuel("C3O5.85N", 3.0, 0.0, 5.847809314727783, 1.0), {"Ar": 1.0, "H2O": 1.337e-05}, 2300.0, "H2O"),
    ("hydrogen", {"N2": 3.76, "CO2": 1e-12}, 1500.0, "CO2"),
])
def test_a_trace_of_an_element_that_only_the_oxidizer_brings(fuel, oxidizer, T, trace):
    eq = cs.equilibrium(fuel, 1.0, T, 1000.0, oxidizer=oxidizer)
    assert eq.solved and 0 < eq.X[trace] < 1e-4


# States the general method ends in GE12 (terminal: "nothing to burn") instead of
# solving them or reporting a failure of its own.
@pytest.mark.xfail(strict=True, raises=ValueError, reason="the general method ends a state it cannot solve in GE12")
@pytest.mark.parametrize("fuel, phi, T, P, oxidizer", [
    (cs.Fuel("H3", 0.0, 3.0), 1.0, 2000.0, 1000.0, {"CO2": 5e-324}),  # a subnormal amount of carbon
    (cs.Fuel("C", 1.0, 0.0), 2.0, 1200.0, 133.35214321633308, {"CO2": 0.5009765811264515,
                                                               "H2O": 1.3974386092741053e-09}),
])
def test_states_the_general_method_ends_in_GE12(fuel, phi, T, P, oxidizer):
    assert cs.equilibrium(fuel, phi, T, P, oxidizer=oxidizer).solved
