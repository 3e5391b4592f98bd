"""Fuels and the reactant charge: atoms, molar mass and enthalpy of a fuel, and the
reactant values that the flame programs' input files ask for.

The named fuels and the air's O2 and N2 come from data/FUELS.DAT (NASA Glenn
coefficients, written by tools/fuelgen); a fuel given by its atoms and formation
enthalpy is known at 298.15 K only.
"""
from dataclasses import dataclass, field
from pathlib import Path

import numpy as np

DATA = Path(__file__).with_name("data")
T_REF = 298.15  # K, where the formation enthalpy holds
QN2 = 3.76  # N2 per O2 in the oxidizer (air), as the tables' loader fixes it
R_FIT = 8.314510  # J/(mol K), the gas constant the coefficients were fitted with


@dataclass(frozen=True)
class Fuel:
    """A fuel C(C) H(H) O(O) N(N): molar mass in kg/kmol, formation enthalpy hf in J/mol
    at 298.15 K, and the NASA Glenn intervals (Tmin, Tmax, a1..a7, b1) when known."""

    name: str
    C: float
    H: float
    O: float = 0.0
    N: float = 0.0
    hf: float = 0.0
    molar_mass: float = 0.0
    intervals: tuple = field(default=(), repr=False)

    def enthalpy(self, T):
        """Molar enthalpy in J/mol at T (K), formation enthalpy included.

        >>> float(fuel("methane").enthalpy(298.15))
        -74600.0
        """
        T = np.asarray(T, dtype=float)
        if not self.intervals:
            if not np.all(T == T_REF):
                raise ValueError(f"{self.name}: enthalpy known at {T_REF} K only (no coefficients)")
            return np.full(T.shape, self.hf)[()]
        return _nasa_enthalpy(self.name, self.intervals, self.hf, T)


def _nasa_enthalpy(name, intervals, hf, T):
    lo, hi = min(iv[0] for iv in intervals), max(iv[1] for iv in intervals)
    lo = min(lo, T_REF)  # a first interval from 300 K still holds down to 298.15 K
    if np.any((T < lo) | (T > hi)) or np.any(np.isnan(T)):
        raise ValueError(f"{name}: reactant temperature outside {lo:g} to {hi:g} K")
    h = np.empty(T.shape)
    for k, (tmin, tmax, *ab) in enumerate(intervals):
        sel = (T <= tmax) if k == 0 else (T > intervals[k - 1][1]) & (T <= tmax)
        a, b1 = ab[:7], ab[7]
        t = T[sel]
        h_rt = (-a[0] / t**2 + a[1] * np.log(t) / t + a[2]
                + t * (a[3] / 2 + t * (a[4] / 3 + t * (a[5] / 4 + t * a[6] / 5))) + b1 / t)
        h[sel] = h_rt * R_FIT * t
    # At 298.15 K the assigned enthalpy itself, not the fit's value near it.
    return np.where(T == T_REF, hf, h)[()]


def _read_fuels(path):
    """The species of FUELS.DAT: {role: [Fuel, ...]}."""
    lines = Path(path).read_text().splitlines()[1:]
    out = {"fuel": [], "air": []}
    i = 0
    while i < len(lines):
        role, name, formula, c, h, o, n, m, hf, count = lines[i].split()
        ivs = tuple(tuple(float(v) for v in lines[i + 1 + k].split()) for k in range(int(count)))
        out[role].append((formula, Fuel(name, float(c), float(h), float(o), float(n),
                                        float(hf), float(m), ivs)))
        i += 1 + int(count)
    return out


_SPECIES = _read_fuels(DATA / "FUELS.DAT")
_AIR = dict(_SPECIES["air"])


def fuel_names():
    """The named fuels, as (name, formula) pairs."""
    return [(f.name, formula) for formula, f in _SPECIES["fuel"]]


def _key(text):
    text = text.strip().lower()
    return text[2:] if text.startswith("n-") else text


def fuel(name=None, *, C=None, H=None, O=0.0, N=0.0, hf=None):
    """A fuel by name or formula from the library, or any C(n)H(m)O(l)N(k) with its
    formation enthalpy hf in J/mol at 298.15 K.

    >>> fuel("propane") == fuel("C3H8")
    True
    >>> round(fuel(C=3, H=8, hf=-104.68e3).molar_mass, 3)
    44.096
    """
    if isinstance(name, Fuel):
        return name
    if name is not None:
        for formula, f in _SPECIES["fuel"]:
            if _key(name) in (_key(f.name), _key(formula)):
                return f
        known = ", ".join(f"{n} ({f})" for n, f in fuel_names())
        raise ValueError(f"unknown fuel {name!r}; known: {known}, or give C=, H=, O=, N=, hf=")
    if C is None or H is None or hf is None:
        raise ValueError("a fuel needs a name, or its atoms C= and H= (O=, N=) and hf= in J/mol")
    # The molar mass from the atoms' standard weights (kg/kmol).
    mass = 12.0107 * C + 1.00794 * H + 15.9994 * O + 14.0067 * N
    name = "".join(f"{e}{n:g}" for e, n in (("C", C), ("H", H), ("O", O), ("N", N)) if n)
    return Fuel(name, float(C), float(H), float(O), float(N), float(hf), mass)


@dataclass(frozen=True)
class Reactants:
    """The reactant charge per kmol of fuel, as INPUT.UV and INPUT.HP want it:
    HREAC in kJ/kmol of fuel, RMOLES in kmol/kmol of fuel, AVMR in kg/kmol."""

    HREAC: object
    RMOLES: object
    AVMR: object


def oxygen_per_fuel(f, phi):
    """Moles of O2 supplied per mole of fuel at equivalence ratio phi."""
    return (f.C + f.H / 4 - f.O / 2) / np.asarray(phi, dtype=float)


def reactants(fuel_, phi, T):
    """The fuel-air charge at equivalence ratio phi and reactant temperature T (K).

    >>> r = reactants("methane", 1.0, 298.15)
    >>> round(r.HREAC, 1), round(r.RMOLES, 2), round(r.AVMR, 4)
    (-74600.0, 10.52, 27.6332)
    """
    f = fuel(fuel_)
    o2, n2 = _AIR["O2"], _AIR["N2"]
    r0 = oxygen_per_fuel(f, phi)
    T = np.asarray(T, dtype=float)
    hreac = f.enthalpy(T) + r0 * (o2.enthalpy(T) + QN2 * n2.enthalpy(T))  # J/mol = kJ/kmol
    rmoles = 1 + r0 * (1 + QN2)
    avmr = (f.molar_mass + r0 * (o2.molar_mass + QN2 * n2.molar_mass)) / rmoles
    return Reactants(np.asarray(hreac)[()], np.asarray(rmoles)[()], np.asarray(avmr)[()])
