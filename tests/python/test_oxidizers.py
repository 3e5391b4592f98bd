"""Oxidizers: how they are named, the reactant charge they give (checked by hand from the
NASA Glenn values), the products they leave, and what the input files cannot hold."""
import numpy as np
import pytest

import combustion_suite as cs

# given, its N2, Ar, CO2, H2O per mole of O2
OXIDIZERS = [
    ("air", (3.76, 0, 0, 0)),
    ("Dry  Air", (0.78084 / 0.20946, 0.00934 / 0.20946, 0.00036 / 0.20946, 0)),
    ("O2", (0, 0, 0, 0)),
    ("oxygen", (0, 0, 0, 0)),
    ("air+O2:0.30", (0.7 / 0.3, 0, 0, 0)),
    (cs.enriched(0.5), (1.0, 0, 0, 0)),
    ({"N2": 3.76, "CO2": 0.2, "H2O": 0.3}, (3.76, 0, 0.2, 0.3)),
    ({"Ar": 1.5}, (0, 1.5, 0, 0)),
]


@pytest.mark.parametrize("given, moles", OXIDIZERS)
def test_oxidizers_by_name_fraction_and_moles(given, moles):
    ox = cs.oxidizer(given)
    assert (ox.N2, ox.Ar, ox.CO2, ox.H2O) == pytest.approx(moles, rel=1e-15)
    assert ox.moles() == pytest.approx(1 + sum(moles), rel=1e-15)


@pytest.mark.parametrize("given, match", [
    ("nitrous oxide", "unknown oxidizer"), ("air+O2:x", "unknown oxidizer"), ("air+O2:0", "mole fraction"),
    ("air+O2:1.2", "mole fraction"), ({"He": 1.0}, "not He"), ({"N2": -1.0}, ">= 0"),
    ({"N2": float("nan")}, ">= 0"), ({"N2": float("inf")}, ">= 0"), (3.76, "not 3.76"),
])
def test_oxidizer_errors(given, match):
    with pytest.raises(ValueError, match=match):
        cs.oxidizer(given)


# NASA Glenn values at 298.15 K (FUELS.DAT): molar masses, kg/kmol; formation enthalpies, J/mol.
M = {"CH4": 16.04246, "O2": 31.9988, "N2": 28.0134, "Ar": 39.948, "CO2": 44.0095, "H2O": 18.01528}
HF = {"CH4": -74600.0, "O2": 0.0, "N2": 0.0, "Ar": 0.0, "CO2": -393510.0, "H2O": -241826.0}


@pytest.mark.parametrize("given, moles", OXIDIZERS)
def test_the_charge_holds_the_diluents_at_the_reactant_temperature(given, moles):
    phi = 0.7
    r0 = 2 / phi  # O2 per mole of methane, the oxidizer's diluents besides it
    q = dict(zip(("N2", "Ar", "CO2", "H2O"), moles), O2=1.0)
    r = cs.reactants("methane", phi, 298.15, given)
    assert r.RMOLES == pytest.approx(1 + r0 * sum(q.values()), rel=1e-14)
    assert r.AVMR == pytest.approx((M["CH4"] + r0 * sum(n * M[s] for s, n in q.items())) / r.RMOLES, rel=1e-14)
    assert r.HREAC == pytest.approx(HF["CH4"] + r0 * sum(n * HF[s] for s, n in q.items()), rel=1e-14, abs=1e-9)
    hot = cs.reactants("methane", phi, 600.0, given)
    assert hot.HREAC > r.HREAC and hot.RMOLES == r.RMOLES


def test_a_hot_charge_adds_each_diluent_enthalpy():
    # The same charge with and without 0.3 H2O per O2 differs by 0.3 R0 h(H2O, T).
    phi, T = 0.8, 600.0
    with_water = cs.reactants("methane", phi, T, {"N2": 3.76, "H2O": 0.3})
    air = cs.reactants("methane", phi, T)
    # Hydrogen at phi 2 in O2 has R0 = 1/4: its charge is h(H2) + h(O2)/4, and with one
    # H2O per O2 h(H2) + (h(O2) + h(H2O))/4.
    h2_o2 = cs.reactants("hydrogen", 2.0, T, "O2").HREAC - cs.fuel("hydrogen").enthalpy(T)  # R0 = 1/4: h(O2)/4
    h2_h2o = cs.reactants("hydrogen", 2.0, T, {"H2O": 1.0}).HREAC - cs.fuel("hydrogen").enthalpy(T)
    h_h2o = (h2_h2o - h2_o2) * 4  # J/mol of H2O at T
    assert -241826.0 < h_h2o < -241826.0 + 11000  # about 10.5 kJ/mol above 298.15 K at 600 K
    assert with_water.HREAC - air.HREAC == pytest.approx(2 / phi * 0.3 * h_h2o, rel=1e-12)


def test_argon_is_a_product_where_the_oxidizer_holds_it():
    air = cs.equilibrium("methane", 1.0, 2500.0, 101325.0)
    dry = cs.equilibrium("methane", 1.0, 2500.0, 101325.0, oxidizer="dry air")
    assert air.X["Ar"] == 0.0 and dry.solved
    # Argon is inert: per nitrogen atom in the products as per nitrogen atom in the charge
    # (to the solver's convergence).
    n_atoms = 2 * dry.X["N2"] + dry.X["N"] + dry.X["NO"]
    assert dry.X["Ar"] / n_atoms == pytest.approx(cs.oxidizer("dry air").Ar / (2 * cs.oxidizer("dry air").N2),
                                                  rel=1e-9)


def test_calls_do_not_leak_their_oxidizer_into_later_calls():
    T = np.linspace(1500.0, 3000.0, 4)
    first = cs.equilibrium("methane", 1.0, T, 101325.0)
    cs.equilibrium("methane", 1.0, T, 101325.0, oxidizer="dry air")
    with pytest.raises(ValueError):
        cs.equilibrium("methane", 1.0, [2000.0, 9000.0], 101325.0, oxidizer={"N2": 3.0, "Ar": 1.0})
    cs.flame("methane", 0.9, oxidizer="dry air")
    again = cs.equilibrium("methane", 1.0, T, 101325.0)
    for s in cs.SPECIES:
        np.testing.assert_array_equal(again.X[s], first.X[s])
    assert cs.flame("methane", 0.9).T == cs.flame("methane", 0.9, oxidizer="air").T


@pytest.mark.parametrize("given", ["O2", "dry air", "air+O2:0.30", {"N2": 3.76, "CO2": 0.2}])
def test_an_input_file_holds_air_only(given, tmp_path):
    with pytest.raises(ValueError, match="no place for another oxidizer"):
        cs.write_input("uv", "methane", 1.0, tmp_path / "INPUT.UV", oxidizer=given)
    assert not (tmp_path / "INPUT.UV").exists()
    cs.write_input("uv", "methane", 1.0, tmp_path / "INPUT.UV", oxidizer={"N2": 3.76})  # that is air
