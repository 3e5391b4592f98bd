"""The results of a solve: small objects whose fields are NumPy arrays of the inputs'
broadcast shape (plain numbers for scalar inputs), read from the blocks the core wrote
(no copy until a field is computed: cp_cv, density, Y, message).

Units: K, Pa, kg/kmol, J/kg, J/(kg K), m/s, kg/m^3.
"""
import csv
import io
from functools import cached_property
from pathlib import Path
from typing import Optional, Union

import numpy as np

from ._batch import MESSAGE_IDS, species_masses

SPECIES = ("H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2", "Ar")
_INDEX = {s: k for k, s in enumerate(SPECIES)}
# How a flame iteration ended, in the order of the core's FlameEnd.
FLAME_ENDS = ("converged", "not converged", "zero reactant temperature", "zero reactant mass",
              "no first solution", "not finite")
# How a process ended, in the order of the core's ProcessEnd.
PROCESS_ENDS = ("solved", "below 100 K", "above 4000 K", "no equilibrium", "not converged", "does not burn",
                "subsonic")
STOPPED_END = "terminal message"  # errors="nan": the state's message id says which


class SpeciesArray(np.ndarray):
    """Values per species, the species on the last axis (their names in .species, as
    SPECIES); a species name as index gives that species' values, as from a mapping.

    >>> import combustion_suite as cs
    >>> X = cs.equilibrium("methane", [0.9, 1.1], 2000.0, 101325.0).X
    >>> X.shape, X.species[8], X["H2O"].round(4)
    ((2, 12), 'H2O', array([0.1714, 0.1901]))
    """

    species = SPECIES

    def __getitem__(self, key):
        if isinstance(key, str):
            if key not in _INDEX:
                raise KeyError(f"{key!r} is not a species; the species are {', '.join(SPECIES)}")
            return self.view(np.ndarray)[..., _INDEX[key]][()]
        return super().__getitem__(key)

    def keys(self):
        return SPECIES

    def items(self):
        return [(s, self[s]) for s in SPECIES]


def _species(block, shape):
    return block.reshape(shape + (len(SPECIES),)).view(SpeciesArray)


def _names(codes, table, shape):
    return table[codes].reshape(shape)[()]


def _input(name):
    """A field that is an argument of the call, as recorded in inputs."""
    return property(lambda self: self.inputs[name][()])


def _field(block, k):
    """A field read from column k of one of the core's blocks (Raw)."""
    return property(lambda self: self._column(getattr(self._raw, block), k))


class Equilibrium:
    """Equilibrium products at a given T and P.

    T, P: temperature (K) and pressure (Pa); phi: equivalence ratio; X: mole fractions
    (a SpeciesArray: species on the last axis, X["NO"] by name); Y: mass fractions;
    fuel_per_product: moles of fuel per mole of products; M: molar mass (kg/kmol); R: gas
    constant (J/(kg K)); density (kg/m^3); h, u: enthalpy and internal energy (J/kg,
    formation basis); cp: equilibrium specific heat at constant pressure; cp_cv: the
    reports' Cp/Cv; s: entropy (J/(kg K)); cp_frozen: cp at fixed composition; gamma_s:
    (d ln P/d ln rho)_s at shifting equilibrium; sound_speed, sound_speed_frozen (m/s);
    dXdT, dXdP, dXdphi: the mole fractions' derivatives (per K, per Pa, per unit phi;
    absent with derivatives=False); solved: False where no solution was found (its values
    NaN); message: the solver's message id of the state ("GE01" below 600 K, "GE05".."GE10"
    for a failure, with errors="nan" the terminal message that stopped it), "" if none;
    fuel, oxidizer: what burnt; inputs: the arguments of the call, by name.
    """

    _kind = "equilibrium"
    _end_names = None

    def __init__(self, raw, shape, inputs, fuel, oxidizer):
        self._raw, self._shape = raw, tuple(shape)
        self.inputs = inputs
        self.fuel, self.oxidizer = fuel, oxidizer
        self._masses = species_masses()  # of the tables the states were solved with

    # The state.
    def _column(self, block, k):
        return block[:, k].reshape(self._shape)[()]

    @property
    def shape(self):
        return self._shape

    T, P, phi = _input("T"), _input("P"), _input("phi")

    # The products.
    @property
    def X(self):
        return _species(self._raw.X[:, :12], self._shape)

    @property
    def Y(self):
        w = self._raw.X[:, :12] * self._masses
        return _species(w / w.sum(axis=1, keepdims=True), self._shape)

    fuel_per_product = _field("X", 12)
    M, R, h, u, cp = (_field("props", k) for k in range(5))
    s, cp_frozen, gamma_s, sound_speed_frozen, sound_speed = (_field("sound", k) for k in range(5))
    dXdT, dXdP, dXdphi = (property(lambda self, j=j: self._derivative(j)) for j in range(3))

    @property
    def cp_cv(self):
        return (self._raw.props[:, 4] / self._raw.props[:, 5]).reshape(self._shape)[()]

    @property
    def density(self):
        return np.asarray(self.P / (self.R * self.T))[()]

    def _derivative(self, j):
        if self._raw.dX is None:
            raise AttributeError("the derivatives were not computed (derivatives=False)")
        return _species(self._raw.dX[:, 12 * j:12 * (j + 1)], self._shape)

    @property
    def solved(self):
        return (~np.isnan(self._raw.props[:, 0])).reshape(self._shape)[()]

    @cached_property
    def message(self):
        return _names(self._raw.codes, MESSAGE_IDS, self._shape)

    @property
    def end(self):
        if self._end_names is None:
            raise AttributeError(f"an {self._kind} has no end")
        return _names(self._raw.ends, self._end_names, self._shape)

    # What the user sees of it.
    def __repr__(self):
        n = int(np.prod(self._shape, dtype=int))
        solved = int(np.sum(self.solved))
        parts = [f"{type(self).__name__} of {self.fuel.name} in {self.oxidizer.name}",
                 f"shape {self._shape}" if self._shape else "one state", f"{solved} of {n} solved"]
        for name, unit in self._shown:
            v = np.asarray(getattr(self, name), dtype=float)
            if np.isfinite(v).any():
                lo, hi = np.nanmin(v), np.nanmax(v)
                parts.append(f"{name} {lo:.6g}{unit}" if lo == hi else f"{name} {lo:.6g}..{hi:.6g}{unit}")
        return "<" + ", ".join(parts) + ">"

    _shown = (("phi", ""), ("T", " K"), ("P", " Pa"))

    def _table(self):
        """(column name, flat values) of every quantity: the inputs, then the results."""
        n = int(np.prod(self._shape, dtype=int))
        flat = lambda v: np.broadcast_to(np.asarray(v), self._shape).reshape(n)
        cols = [(k, flat(v)) for k, v in self.inputs.items() if k not in ("fuel", "oxidizer", "at", "frozen")]
        taken = {k for k, _ in cols}
        for name in self._columns:
            if name not in taken:
                cols.append((name, flat(getattr(self, name))))
        X, Y = self.X.reshape(n, 12), self.Y.reshape(n, 12)
        cols += [(f"X_{s}", X[:, k]) for k, s in enumerate(SPECIES)]
        cols += [(f"Y_{s}", Y[:, k]) for k, s in enumerate(SPECIES)]
        cols += [("solved", flat(self.solved)), ("message", flat(self.message))]
        if self._end_names is not None:
            cols.append(("end", flat(self.end)))
        return cols

    _columns = ("T", "P", "M", "R", "density", "h", "u", "cp", "cp_cv", "s", "cp_frozen", "gamma_s",
                "sound_speed", "sound_speed_frozen", "fuel_per_product")

    def to_csv(self, path: Optional[Union[str, Path]] = None) -> Optional[str]:
        """Writes the states as a CSV table, one row per state in C order (the inputs, the
        results in SI units, X_ and Y_ per species, solved, message); without path
        returns the text.

        >>> import combustion_suite as cs
        >>> print(cs.flame("methane", 1.0).to_csv().splitlines()[0][:40])
        phi,T0,P0,T_guess,T,P,M,R,density,h,u,cp
        """
        cols = self._table()
        buf = io.StringIO()
        w = csv.writer(buf, lineterminator="\n")
        w.writerow([k for k, _ in cols])
        values = [v.tolist() for _, v in cols]
        w.writerows(zip(*values))
        if path is None:
            return buf.getvalue()
        Path(path).write_text(buf.getvalue())
        return None

    def to_dataframe(self):
        """The states as a pandas DataFrame, the columns of to_csv(); needs pandas.

        >>> import combustion_suite as cs
        >>> cs.equilibrium("methane", [0.8, 1.2], 2000.0, 101325.0).to_dataframe()[["phi", "X_CO"]].round(5)
           phi     X_CO
        0  0.8  0.00052
        1  1.2  0.04388
        """
        try:
            import pandas as pd
        except ImportError:
            raise ImportError("to_dataframe() needs pandas (Debian: python3-pandas; pip: pandas); "
                              "to_csv() needs nothing") from None
        return pd.DataFrame(dict(self._table()))


class Flame(Equilibrium):
    """An adiabatic flame: T and P are the flame temperature and pressure, the rest
    describes its products as in Equilibrium (the equilibrium at the iteration's last
    temperature, within its 0.01 K); end says how the iteration ended; T0, P0 the
    reactants' temperature and pressure."""

    _kind = "flame"
    _end_names = np.array(FLAME_ENDS + (STOPPED_END,))
    _shown = (("phi", ""), ("T0", " K"), ("T", " K"), ("P", " Pa"))

    T, P = _field("TP", 0), _field("TP", 1)

    T0, P0 = _input("T0"), _input("P0")


class Process(Flame):
    """The end state of a process, as a Flame's products; end: how its solve ended."""

    _kind = "process"
    _end_names = np.array(PROCESS_ENDS + (STOPPED_END,))
    _shown = (("phi", ""), ("T", " K"), ("P", " Pa"))


class Isentropic(Process):
    """The end state of an isentrope, as in Equilibrium; frozen: at the start's
    composition (then dXdT, dXdP are 0 and dXdphi NaN); end: how the solve ended."""

    _kind = "isentrope"

    @property
    def frozen(self):
        return self.inputs["frozen"]


class Detonation(Process):
    """A Chapman-Jouguet detonation: the burned gas as in Equilibrium (T, P, X, ...),
    and velocity (m/s, of the front into the reactants at rest), u2 (the burned gas
    behind the front, relative to it: its equilibrium sound speed), P_ratio, T_ratio,
    rho_ratio (burned over unburned), mach (velocity over the reactants' sound speed),
    T0, P0 the unburned state; end: how the solve ended."""

    _kind = "detonation"
    _shown = (("phi", ""), ("T0", " K"), ("velocity", " m/s"), ("P_ratio", ""))
    _columns = Equilibrium._columns + ("velocity", "u2", "P_ratio", "T_ratio", "rho_ratio", "mach")
    velocity, u2, P_ratio, T_ratio, rho_ratio, mach = (_field("extra", k) for k in range(6))


class Shock(Process):
    """A normal shock at fixed composition: the shocked gas as in Equilibrium, and u1
    (the gas entering, m/s), mach (u1 over its frozen sound speed), u2 (leaving, relative
    to the shock), P_ratio, T_ratio, rho_ratio (behind over ahead); end: how it ended."""

    _kind = "shock"
    _shown = (("mach", ""), ("T", " K"), ("P_ratio", ""))
    _columns = Equilibrium._columns + ("u1", "mach", "u2", "P_ratio", "T_ratio", "rho_ratio")
    u2, P_ratio, T_ratio, rho_ratio = (_field("extra", k) for k in range(4))

    u1, mach = _input("u1"), _input("mach")
