"""What a result offers beside its numbers: the species on an array axis, mass fractions,
density, the inputs it came from, a short repr, CSV and DataFrame export, results without
the derivatives in less memory, a flame's own message, and the progress bar's choice."""
import csv
import io
import sys
import tracemalloc

import numpy as np
import pytest

import combustion_suite as cs

R_UNIVERSAL = 8314.46  # J/(kmol K)


@pytest.fixture(scope="module")
def eq():
    return cs.equilibrium("propane", [[0.8], [1.0], [1.3]], [1500.0, 2500.0], 2e5)


def test_species_on_the_last_axis_with_names_and_mass_fractions(eq):
    X = eq.X
    assert X.shape == (3, 2, 12) and X.species == cs.SPECIES
    np.testing.assert_array_equal(X["NO"], X[..., cs.SPECIES.index("NO")])
    assert dict(X.items()).keys() == set(cs.SPECIES) and eq.dXdT["OH"].shape == (3, 2)
    with pytest.raises(KeyError, match="'NO2' is not a species"):
        X["NO2"]
    Y = eq.Y
    np.testing.assert_allclose(Y.sum(axis=-1), 1.0, rtol=1e-12)
    # Y = X W / M with the mixture's molar mass as the core computes it.
    np.testing.assert_allclose(Y["CO2"], X["CO2"] * 44.0095 / eq.M, rtol=1e-6)
    np.testing.assert_allclose(eq.density, 2e5 * eq.M / (R_UNIVERSAL * eq.T), rtol=1e-5)
    one = cs.equilibrium("propane", 1.0, 2500.0, 2e5)
    assert isinstance(one.X["CO"], float) and one.X.shape == (12,) and one.Y["CO"] == Y["CO"][1, 1]


def test_the_inputs_are_recorded_and_the_repr_is_short():
    fl = cs.flame("methane", np.linspace(0.6, 1.5, 1000), T0=400.0, oxidizer="air+O2:0.3")
    assert fl.inputs["fuel"] == "methane" and fl.inputs["oxidizer"] == "air+O2:0.3" and fl.inputs["at"] == "pressure"
    assert fl.inputs["phi"].shape == fl.T0.shape == (1000,) and (fl.T0 == 400.0).all() and (fl.P0 == 101325.0).all()
    text = repr(fl)
    assert len(text) < 200, text
    assert text.startswith("<Flame of methane in air+O2:0.3, shape (1000,), 1000 of 1000 solved, phi 0.6..1.5")
    assert repr(cs.equilibrium("methane", 1.0, 2000.0, 1e5)).count("one state") == 1


def test_csv_and_dataframe_hold_every_state(tmp_path):
    fl = cs.flame("propane", [[0.8, 1.0], [1.2, 4.5]])  # 4.5: no first solution
    path = tmp_path / "flames.csv"
    assert fl.to_csv(path) is None
    rows = list(csv.DictReader(io.StringIO(path.read_text())))
    assert len(rows) == 4 and float(rows[2]["phi"]) == 1.2
    assert float(rows[1]["T"]) == fl.T[0, 1] and float(rows[0]["X_NO"]) == fl.X["NO"][0, 0]
    assert rows[3]["solved"] == "False" and rows[3]["end"] == "no first solution" and rows[3]["T"] == "nan"
    df = fl.to_dataframe()
    assert list(df.columns) == list(rows[0]) and df["Y_N2"].iloc[1] == fl.Y["N2"][0, 1]


def test_without_pandas_the_dataframe_says_what_it_needs(monkeypatch):
    monkeypatch.setitem(sys.modules, "pandas", None)
    with pytest.raises(ImportError, match="needs pandas"):
        cs.flame("methane", 1.0).to_dataframe()


def _bytes_per_state(call, n):
    tracemalloc.start()
    try:
        before = tracemalloc.get_traced_memory()[0]
        result = call()
        kept = tracemalloc.get_traced_memory()[0] - before
    finally:
        tracemalloc.stop()
    return result, kept / n


def test_results_without_derivatives_are_the_same_in_less_memory():
    T = np.linspace(1000.0, 3000.0, 50_000)
    full, with_d = _bytes_per_state(lambda: cs.equilibrium("methane", 0.9, T, 1e5), T.size)
    lean, without = _bytes_per_state(lambda: cs.equilibrium("methane", 0.9, T, 1e5, derivatives=False), T.size)
    assert without < 250 < with_d, (without, with_d)
    np.testing.assert_array_equal(lean.X, full.X)
    np.testing.assert_array_equal(lean.cp, full.cp)
    with pytest.raises(AttributeError, match="derivatives=False"):
        lean.dXdT


def test_a_flames_message_is_that_of_its_final_state():
    cold, warm = cs.flame("methane", 1.0, T_guess=300.0), cs.flame("methane", 1.0)
    assert cold.end == "converged" and cold.message == warm.message == ""
    assert cold.T == pytest.approx(warm.T, abs=0.01)


@pytest.mark.parametrize("progress, shown", [(None, False), (False, False), (True, True)])
def test_the_progress_bar_is_shown_on_request_or_on_a_terminal_only(progress, shown, capsys):
    cs.flame("methane", np.linspace(0.7, 1.3, 20), progress=progress)
    assert ("flame" in capsys.readouterr().err) == shown
