"""Fuels and the reactant charge: atoms, molar mass and enthalpy of a fuel or a blend
of fuels, and the reactant values that the flame programs' input files ask for.

The named fuels and the oxidizer's O2, N2, Ar, CO2 and H2O come from data/FUELS.DAT
(NASA Glenn coefficients, written by tools/fuelgen); a fuel given by its atoms and
formation enthalpy is known at 298.15 K only, or at any temperature with a constant cp.
"""
import difflib
import math
from dataclasses import dataclass, field
from pathlib import Path
from typing import Optional, Union

import numpy as np

from .oxidizers import oxidizer as _oxidizer

DATA = Path(__file__).with_name("data")
T_REF = 298.15  # K, where the formation enthalpy holds
R_FIT = 8.314510  # J/(mol K), the gas constant the coefficients were fitted with
# Standard atomic weights (kg/kmol) for a fuel given by its atoms.
_ATOMIC_MASS = {"C": 12.0107, "H": 1.00794, "O": 15.9994, "N": 14.0067}


@dataclass(frozen=True)
class Fuel:
    """A fuel C(C) H(H) O(O) N(N): molar mass in kg/kmol, formation enthalpy hf in J/mol
    at 298.15 K, and the NASA Glenn intervals (Tmin, Tmax, a1..a7, b1) when known, or a
    constant cp in J/(mol K); a blend holds its parts as (mole fraction, Fuel) pairs."""

    name: str
    C: float
    H: float
    O: float = 0.0
    N: float = 0.0
    hf: float = 0.0
    molar_mass: float = 0.0
    intervals: tuple = field(default=(), repr=False)
    cp: float = None
    parts: tuple = field(default=(), repr=False)

    def temperature_range(self) -> tuple:
        """(lowest, highest) reactant temperature in K at which the enthalpy is known.

        >>> fuel("propane").temperature_range()
        (298.15, 6000.0)
        """
        if self.parts:
            ranges = [f.temperature_range() for _, f in self.parts]
            return max(r[0] for r in ranges), min(r[1] for r in ranges)
        if self.intervals:
            # A first interval from 300 K still holds down to 298.15 K.
            return min(min(iv[0] for iv in self.intervals), T_REF), max(iv[1] for iv in self.intervals)
        return (0.0, math.inf) if self.cp is not None else (T_REF, T_REF)

    def enthalpy(self, T):
        """Molar enthalpy in J/mol at T (K), formation enthalpy included.

        >>> float(fuel("methane").enthalpy(298.15))
        -74600.0
        """
        T = np.asarray(T, dtype=float)
        lo, hi = self.temperature_range()
        if np.any(~((T >= lo) & (T <= hi))):
            if lo == hi:
                raise ValueError(f"{self.name}: enthalpy known at {T_REF} K only (no coefficients; give cp=)")
            whose = " (the range of all its parts)" if self.parts else ""
            raise ValueError(f"{self.name}: reactant temperature outside {lo:g} to {hi:g} K{whose}")
        if self.parts:
            return sum(x * f.enthalpy(T) for x, f in self.parts)
        if self.intervals:
            return _nasa_enthalpy(self.intervals, self.hf, T)
        if self.cp is None:
            return np.full(T.shape, self.hf)[()]
        return (self.hf + self.cp * (T - T_REF))[()]


def _nasa_enthalpy(intervals, hf, T):
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


def fuel_names() -> list:
    """The named fuels, as (name, formula) pairs.

    >>> fuel_names()[:2]
    [('methane', 'CH4'), ('propane', 'C3H8')]
    """
    return [(f.name, formula) for formula, f in _SPECIES["fuel"]]


def _key(text):
    return "".join(text.lower().replace("_", " ").replace("-", " ").split())


def _aliases(name, formula):
    # "n-octane" is also "octane"; its formula with the prefix ("n-C8H18") names it alone.
    keys = {_key(name), _key(formula)}
    if name.lower().startswith("n-"):
        keys |= {_key(name[2:]), "n" + _key(formula)}
    return keys


def _named(text):
    found = [(formula, f) for formula, f in _SPECIES["fuel"] if _key(text) in _aliases(f.name, formula)]
    if len(found) > 1:
        which = " and ".join(f"{f.name} ({formula})" for formula, f in found)
        raise ValueError(f"fuel {text!r} is ambiguous: {which}; give the name")
    if not found:
        raise ValueError(f"unknown fuel {text!r}; {_suggestions(text)}a blend such as \"CH4:0.5, H2:0.5\", "
                         "or give C=, H=, O=, N=, hf=")
    return found[0][1]


def _suggestions(text):
    """The named fuels nearest to a misspelt name, or all of them when none is near."""
    names = {}
    for formula, f in _SPECIES["fuel"]:
        for key in _aliases(f.name, formula):
            names.setdefault(key, f"{f.name} ({formula})")
    near = difflib.get_close_matches(_key(text), names, n=6, cutoff=0.6)
    if near:
        return f"did you mean {' or '.join(dict.fromkeys(names[k] for k in near))}? Or "
    return f"known: {', '.join(f'{n} ({f})' for n, f in fuel_names())}, "


def _blend(amounts):
    """A blend from {fuel: moles}: atoms, molar mass and enthalpy per mole of blend."""
    parts = [(float(x), fuel(f)) for f, x in amounts.items()]
    if not parts or any(not (x >= 0.0 and math.isfinite(x)) for x, _ in parts) or sum(x for x, _ in parts) <= 0:
        raise ValueError(f"a blend needs finite mole amounts >= 0 that do not all vanish: {amounts!r}")
    total = sum(x for x, _ in parts)
    parts = tuple((x / total, f) for x, f in parts if x > 0)
    if len(parts) == 1:
        return parts[0][1]
    atoms = {e: sum(x * getattr(f, e) for x, f in parts) for e in "CHON"}
    name = ", ".join(f"{f.name}:{x:g}" for x, f in parts)
    return _burnable(Fuel(name, **atoms, hf=sum(x * f.hf for x, f in parts),
                          molar_mass=sum(x * f.molar_mass for x, f in parts), parts=parts))


def _parse_blend(text):
    amounts = {}
    for item in text.split(","):
        name, sep, x = item.partition(":")
        try:
            if not sep or not name.strip():
                raise ValueError
            amounts[name.strip()] = amounts.get(name.strip(), 0.0) + float(x)
        except ValueError:
            raise ValueError(f"a blend is written \"name:moles, name:moles\" (\"CH4:0.5, H2:0.5\"), not {text!r}") from None
    return _blend(amounts)


def _burnable(f):
    """f, if it needs oxygen to burn (R0 > 0, the oxidizer's O2 per mole of fuel at
    stoichiometric); a fuel that holds its own oxygen or more has no charge with air."""
    if min(f.C, f.H, f.O, f.N) < 0 or not all(map(math.isfinite, (f.C, f.H, f.O, f.N))):
        raise ValueError(f"{f.name}: atom numbers must be finite and >= 0")
    if not f.C + f.H / 4 - f.O / 2 > 0:
        raise ValueError(f"{f.name} needs no oxygen to burn (C + H/4 - O/2 = {f.C + f.H / 4 - f.O / 2:g} "
                         "O2 per mole of fuel): there is no fuel-oxidizer charge at any equivalence ratio")
    return f


def fuel(name: Union[str, dict, "Fuel", None] = None, *, C: Optional[float] = None, H: Optional[float] = None,
         O: float = 0.0, N: float = 0.0, hf: Optional[float] = None, cp: Optional[float] = None) -> "Fuel":
    """A fuel by name or formula from the library, a blend by mole ({"methane": 0.5,
    "hydrogen": 0.5} or "CH4:0.5, H2:0.5"), or any C(n)H(m)O(l)N(k) with its formation
    enthalpy hf in J/mol at 298.15 K (and, to preheat it, a constant cp in J/(mol K)).

    >>> fuel("propane") == fuel("C3H8")
    True
    >>> round(fuel(C=3, H=8, hf=-104.68e3).molar_mass, 3)
    44.096
    >>> fuel("CH4:0.5, H2:0.5").C
    0.5
    """
    if isinstance(name, Fuel):
        return name
    if isinstance(name, dict):
        return _blend(name)
    if name is not None:
        return _parse_blend(name) if ":" in name else _named(name)
    atoms = {"C": C, "H": H, "O": O, "N": N}
    if C is not None and H is not None:
        _burnable(Fuel(_formula(atoms), float(C), float(H), float(O), float(N)))
    if C is None or H is None or hf is None:
        raise ValueError("a fuel needs a name, or its atoms C= and H= (O=, N=) and hf= in J/mol")
    if cp is not None and not (math.isfinite(float(cp)) and float(cp) > 0):
        raise ValueError(f"cp must be a positive number of J/(mol K), not {cp!r}")
    mass = sum(_ATOMIC_MASS[e] * n for e, n in atoms.items())
    return Fuel(_formula(atoms), float(C), float(H), float(O), float(N), float(hf), mass,
                cp=None if cp is None else float(cp))


def _formula(atoms):
    return "".join(f"{e}{n:g}" for e, n in atoms.items() if n)


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


def reactants(fuel_, phi, T, oxidizer="air") -> "Reactants":
    """The fuel-oxidizer charge at equivalence ratio phi (counting O2 alone) and reactant
    temperature T (K): fuel, O2 and the oxidizer's diluents, all at T.

    >>> r = reactants("methane", 1.0, 298.15)
    >>> round(r.HREAC, 1), round(r.RMOLES, 2), round(r.AVMR, 4)
    (-74600.0, 10.52, 27.6332)
    """
    f = _burnable(fuel(fuel_))
    ox = _oxidizer(oxidizer)
    r0 = oxygen_per_fuel(f, phi)
    T = np.asarray(T, dtype=float)
    diluents = ox.diluents()
    h_ox = _AIR["O2"].enthalpy(T) + sum(q * _AIR[s].enthalpy(T) for s, q in diluents)
    m_ox = _AIR["O2"].molar_mass + sum(q * _AIR[s].molar_mass for s, q in diluents)
    hreac = f.enthalpy(T) + r0 * h_ox  # J/mol = kJ/kmol
    rmoles = 1 + r0 * ox.moles()
    avmr = (f.molar_mass + r0 * m_ox) / rmoles
    return Reactants(np.asarray(hreac)[()], np.asarray(rmoles)[()], np.asarray(avmr)[()])
