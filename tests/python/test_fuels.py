"""Named fuels, fuels by formula, blends, and the reactant charge of the input files."""
import json
import math

import numpy as np
import pytest

import combustion_suite as cs
from conftest import REFERENCE


def test_fuels_by_name_and_formula():
    assert cs.fuel("propane") is cs.fuel("C3H8") is cs.fuel("Propane")
    assert cs.fuel("octane") is cs.fuel("n-C8H18") is cs.fuel("n-octane")
    m = cs.fuel("methanol")
    assert (m.C, m.H, m.O, m.N, m.hf) == (1, 4, 1, 0, -200940.0)
    assert len(cs.fuel_names()) == 19
    with pytest.raises(ValueError, match="known: methane"):
        cs.fuel("kerosene")


# The fuels without carbon or hydrogen and the others beside them: by name and formula,
# with the atoms and formation enthalpy (J/mol) of their NASA Glenn entries.
NEW_FUELS = [
    ("hydrogen", "H2", (0, 2, 0, 0), 0.0),
    ("ammonia", "NH3", (0, 3, 0, 1), -45940.0),
    ("carbon monoxide", "CO", (1, 0, 1, 0), -110535.196),
    ("hydrazine", "N2H4", (0, 4, 0, 2), 95180.0),
    ("ethane", "C2H6", (2, 6, 0, 0), -83851.544),
    ("propylene", "C3H6", (3, 6, 0, 0), 20000.0),
    ("iso-octane", "isooctane", (8, 18, 0, 0), -224010.0),
    ("Jet-A", "C12H23", (12, 23, 0, 0), -249657.0),
    ("dimethyl ether", "CH3OCH3", (2, 6, 1, 0), -184110.0),
]


@pytest.mark.parametrize("name, other, atoms, hf", NEW_FUELS)
def test_the_fuels_without_carbon_or_hydrogen_and_more(name, other, atoms, hf):
    f = cs.fuel(name)
    assert f is cs.fuel(other)
    assert (f.C, f.H, f.O, f.N, f.hf) == (*atoms, hf)
    assert f.enthalpy(298.15) == hf
    assert f.enthalpy(1500.0) > hf  # known above the reference temperature


def test_an_ambiguous_formula_names_both_fuels():
    with pytest.raises(ValueError, match="ambiguous: n-octane .C8H18. and isooctane .C8H18."):
        cs.fuel("C8H18")
    assert cs.fuel("n-C8H18").name == "n-octane" and cs.fuel("iso-octane").name == "isooctane"


def test_blends_by_mole():
    ch4, h2 = cs.fuel("methane"), cs.fuel("hydrogen")
    blend = cs.fuel({"methane": 0.5, "hydrogen": 0.5})
    assert blend == cs.fuel("CH4:0.5, H2:0.5") == cs.fuel({ch4: 1.0, "H2": 1.0})  # amounts are normalised
    assert (blend.C, blend.H, blend.O, blend.N) == (0.5, 3.0, 0.0, 0.0)
    assert blend.molar_mass == pytest.approx((ch4.molar_mass + h2.molar_mass) / 2, rel=1e-15)
    T = np.array([298.15, 600.0, 2500.0])
    np.testing.assert_allclose(blend.enthalpy(T), (ch4.enthalpy(T) + h2.enthalpy(T)) / 2, rtol=1e-15)
    nh3 = cs.fuel("NH3:0.7, H2:0.3")
    assert (nh3.C, nh3.N) == (0.0, 0.7) and nh3.H == pytest.approx(2.7, rel=1e-15)
    assert cs.fuel({"methane": 1.0, "hydrogen": 0.0}) is ch4  # one part left: that fuel


def test_a_blend_is_known_in_the_range_of_all_its_parts():
    cs.fuel("hydrogen").enthalpy(7000.0), cs.fuel("methane").enthalpy(250.0)  # each alone
    for parts, T, lo, hi in [({"hydrogen": 0.5, "methane": 0.5}, 7000.0, 200, 6000),
                             ({"Jet-A": 0.5, "methane": 0.5}, 250.0, 273.15, 6000)]:
        blend = cs.fuel(parts)
        assert blend.temperature_range() == (lo, hi)
        with pytest.raises(ValueError, match=f"outside {lo:g} to {hi:g} K .the range of all its parts."):
            blend.enthalpy(T)


@pytest.mark.parametrize("text, match", [
    ("CH4:0.5, H2", "name:moles"), ("CH4:x", "name:moles"), (":0.5", "name:moles"),
    ("CH4:0.5, kerosene:0.5", "unknown fuel 'kerosene'"), ("CH4:-1, H2:2", ">= 0"), ("CH4:0, H2:0", "vanish"),
    ("C8H18:0.5, H2:0.5", "ambiguous"), ("CH4:nan, H2:0.5", ">= 0"),
])
def test_blend_errors(text, match):
    with pytest.raises(ValueError, match=match):
        cs.fuel(text)


def test_a_fuel_given_with_cp_can_be_preheated():
    own = cs.fuel(C=3, H=8, hf=-104.68e3, cp=73.6)
    assert own.enthalpy(298.15) == -104.68e3
    assert own.enthalpy(500.0) == pytest.approx(-104.68e3 + 73.6 * (500.0 - 298.15), rel=1e-15)
    hot = cs.reactants(own, 1.0, 500.0)
    cold = cs.reactants(own, 1.0, 298.15)
    air = cs.reactants("propane", 1.0, 500.0).HREAC - cs.fuel("propane").enthalpy(500.0)  # O2 and N2 at 500 K
    assert hot.HREAC == pytest.approx(own.enthalpy(500.0) + air, rel=1e-12) and hot.RMOLES == cold.RMOLES
    with pytest.raises(ValueError, match="cp must be a positive"):
        cs.fuel(C=3, H=8, hf=-104.68e3, cp=-1.0)


@pytest.mark.parametrize("atoms", [dict(C=1, H=4, O=10), dict(C=0, H=0, O=1), dict(C=1, H=0, O=2),
                                   dict(C=1, H=4, O=10, hf=0.0)])
def test_a_fuel_that_needs_no_oxygen_is_refused(atoms):
    with pytest.raises(ValueError, match="needs no oxygen to burn"):
        cs.fuel(**atoms)
    f = cs.Fuel("own", atoms["C"], atoms["H"], atoms["O"])  # built directly: refused where a charge is made
    for call in (lambda: cs.reactants(f, 1.0, 298.15), lambda: cs.equilibrium(f, 1.0, 2000.0, 1e5),
                 lambda: cs.flame(f, 1.0), lambda: cs.write_input("tp", f, 1.0, T=2000.0, P=1e5)):
        with pytest.raises(ValueError, match="needs no oxygen to burn"):
            call()


def test_negative_atoms_are_refused():
    with pytest.raises(ValueError, match=">= 0"):
        cs.fuel(C=-1, H=4, hf=0.0)
    with pytest.raises(ValueError, match=">= 0"):
        cs.equilibrium(cs.Fuel("own", 1.0, math.nan), 1.0, 2000.0, 1e5)


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
    ref = json.loads(REFERENCE.read_text())
    for c in ref["uv"] + ref["hp"]:
        r = cs.reactants(c["fuel"], c["F"], c["TREAC_K"])
        assert r.HREAC == pytest.approx(c["HREAC_kJ_per_kmol_fuel"], rel=1e-8), c["case_id"]
        assert r.RMOLES == pytest.approx(c["RMOLES_kmol_per_kmol_fuel"], rel=1e-12), c["case_id"]
        assert r.AVMR == pytest.approx(c["AVMR_kg_per_kmol"], rel=1e-12), c["case_id"]


def test_tables_from_a_path(tmp_path):
    with pytest.raises(OSError, match="F2001"):
        cs.use_tables(tmp_path / "GPROP.DAT")
    cs.use_tables()
    assert cs.equilibrium("methane", 1.0, 2000.0, 101325.0).solved
