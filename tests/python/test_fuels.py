"""Named fuels, fuels by formula, and the reactant charge of the input files."""
import json

import numpy as np
import pytest

import combustion_suite as cs
from conftest import REFERENCE


def test_fuels_by_name_and_formula():
    assert cs.fuel("propane") is cs.fuel("C3H8") is cs.fuel("Propane")
    assert cs.fuel("octane") is cs.fuel("n-C8H18") is cs.fuel("n-octane")
    m = cs.fuel("methanol")
    assert (m.C, m.H, m.O, m.N, m.hf) == (1, 4, 1, 0, -200940.0)
    assert len(cs.fuel_names()) == 10
    with pytest.raises(ValueError, match="known: methane"):
        cs.fuel("kerosene")


def test_a_fuel_by_formula_is_known_at_the_reference_temperature_only():
    own = cs.fuel(C=3, H=8, hf=-104.68e3)
    assert own.molar_mass == pytest.approx(cs.fuel("propane").molar_mass, rel=1e-5)
    assert cs.reactants(own, 1.0, 298.15) == cs.reactants("propane", 1.0, 298.15)
    with pytest.raises(ValueError, match="298.15"):
        cs.reactants(own, 1.0, 400.0)
    with pytest.raises(ValueError, match="C= and H="):
        cs.fuel(C=3)


def test_fuel_enthalpy_is_continuous_across_the_coefficient_intervals():
    for name, _ in cs.fuel_names():
        f = cs.fuel(name)
        h = f.enthalpy(np.array([1000.0 - 1e-6, 1000.0 + 1e-6]))
        assert abs(h[1] - h[0]) < 5.0, name  # J/mol: the two fits meet at 1000 K
    with pytest.raises(ValueError, match="outside"):
        cs.fuel("methane").enthalpy(150.0)


def test_charges_of_the_examples_and_of_the_reference():
    # The shipped examples, to their printed digits.
    assert round(cs.reactants("methane", 1.0, 700.0).HREAC, 1) == 58918.1
    r = cs.reactants("methane", 1.0, 298.15)
    assert (round(r.HREAC, 1), round(r.RMOLES, 3), round(r.AVMR, 3)) == (-74600.0, 10.52, 27.633)
    if not REFERENCE.exists():
        pytest.skip("no reference results")
    ref = json.loads(REFERENCE.read_text())
    for c in ref["uv"] + ref["hp"]:
        if c["fuel"] == "C12H23":
            continue  # a surrogate, not in the library
        r = cs.reactants(c["fuel"], c["F"], c["TREAC_K"])
        assert r.HREAC == pytest.approx(c["HREAC_kJ_per_kmol_fuel"], rel=1e-8), c["case_id"]
        assert r.RMOLES == pytest.approx(c["RMOLES_kmol_per_kmol_fuel"], rel=1e-12), c["case_id"]
        assert r.AVMR == pytest.approx(c["AVMR_kg_per_kmol"], rel=1e-12), c["case_id"]


def test_tables_from_a_path(tmp_path):
    with pytest.raises(OSError, match="F2001"):
        cs.use_tables(tmp_path / "GPROP.DAT")
    cs.use_tables()
    assert cs.equilibrium("methane", 1.0, 2000.0, 101325.0).solved
