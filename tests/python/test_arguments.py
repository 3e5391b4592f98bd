"""Arguments the core cannot take: each error names the argument, its value and, in a
sweep, the state's position in the arguments' shape; errors="nan" keeps the sweep going;
input files are refused as the programs would refuse them; a misspelt fuel is answered
with the nearest names."""
import datetime
import re

import numpy as np
import pytest

import combustion_suite as cs

EQ = dict(fuel="methane", phi=1.0, T=2000.0, P=101325.0)
FL = dict(fuel="methane", phi=1.0, T0=298.15, P0=101325.0)


@pytest.mark.parametrize("call, given, error, words", [
    (cs.equilibrium, dict(T=float("nan")), ValueError, "T must be a finite number of K, not nan"),
    (cs.equilibrium, dict(T=[2000.0, np.inf]), ValueError, r"T must be a finite number of K, not inf \(at 1\)"),
    (cs.equilibrium, dict(phi=None), TypeError, "phi must be a finite number or an array of them, not None"),
    (cs.equilibrium, dict(P="1 atm"), TypeError, r"P must be .* not text \('1 atm'\)"),
    (cs.equilibrium, dict(T=datetime.datetime(2026, 1, 1)), TypeError, "T must be .* not objects"),
    (cs.equilibrium, dict(T=np.array(["2026-01-01"], dtype="datetime64[D]")), TypeError, "T must be .* not dates"),
    (cs.equilibrium, dict(phi=True), TypeError, "phi must be .* not booleans"),
    (cs.equilibrium, dict(T=np.ma.masked_array([2000.0, 1.0], mask=[False, True])), ValueError, "T holds masked"),
    (cs.flame, dict(P0=np.inf), ValueError, "P0 must be a finite number of Pa, not inf"),
    (cs.flame, dict(T0=[[300.0, np.nan]]), ValueError, r"T0 .* not nan \(at \(0, 1\)\)"),
    (cs.flame, dict(at="constant volume"), ValueError, "at must be 'pressure' or 'volume'"),
    (cs.equilibrium, dict(errors="ignore"), ValueError, "errors must be 'raise' or 'nan'"),
])
def test_an_argument_that_is_no_finite_number_is_named(call, given, error, words):
    args = (EQ if call is cs.equilibrium else FL) | given
    with pytest.raises(error, match=words):
        call(**args)


def test_a_terminal_state_is_named_by_its_position_in_the_callers_shape():
    T = np.full((2, 3), 2000.0)
    T[1, 2] = 4500.0
    with pytest.raises(ValueError, match=r"state \(1, 2\) \(.*T=4500.*GP02, .*above 4000 K"):
        cs.equilibrium("propane", 1.0, T, 101325.0)


def test_errors_nan_keeps_the_other_states_of_a_sweep():
    T = np.array([[2000.0, 4500.0], [2100.0, 50.0]])
    eq = cs.equilibrium("propane", 1.0, T, 101325.0, errors="nan")
    assert eq.solved.tolist() == [[True, False], [True, False]]
    assert eq.message.tolist() == [["", "GP02"], ["", "GP01"]]
    assert np.isnan(eq.X["CO2"][0, 1]) and np.isnan(eq.h[1, 1])
    # The state after a stop is solved as in a new run: as alone.
    assert eq.X["CO2"][1, 0] == cs.equilibrium("propane", 1.0, 2100.0, 101325.0).X["CO2"]
    fl = cs.flame("methane", 1.0, P0=[101325.0, 0.0, 2e5], errors="nan")
    assert fl.end.tolist() == ["converged", "terminal message", "converged"] and fl.message[1] == "GE03"
    assert fl.T[2] == cs.flame("methane", 1.0, P0=2e5).T


@pytest.mark.parametrize("kind, values, words", [
    ("tp", dict(T=4500.0, P=101325.0), "T=4500: the program would stop with GP02"),
    ("tp", dict(T=2000.0, P=0.0), "P=0: the program would stop with GE03"),
    ("tp", dict(T=float("nan"), P=101325.0), "T must be a finite number of K, not nan"),
    ("uv", dict(phi=0.0), "phi=0: the program would stop with GE11"),
    ("hp", dict(T_guess=5000.0), "T_guess=5000: the program would stop with GP02"),
    ("hp", dict(P0=-1.0), "P0 must be positive"),
    ("uv", dict(phi=[0.8, 1.0]), "an input file holds one state"),
])
def test_input_files_refuse_what_the_programs_refuse(kind, values, words):
    values = {"phi": 1.0} | values
    with pytest.raises((ValueError, TypeError), match=words):
        cs.inputs.input_text(kind, "propane", values.pop("phi"), **values)


@pytest.mark.parametrize("typed, suggested", [
    ("methan", "methane (CH4)"), ("hydorgen", "hydrogen (H2)"), ("amonia", "ammonia (NH3)"),
    ("isoctane", "isooctane (C8H18)"),
])
def test_a_misspelt_fuel_gets_the_nearest_names(typed, suggested):
    with pytest.raises(ValueError, match=rf"unknown fuel '{typed}'; did you mean .*{re.escape(suggested)}"):
        cs.fuel(typed)
