"""Equilibria and flames through the core's own routines (PER, the flame iteration),
vectorised: any argument may be an array, and the arguments broadcast.

A state that cannot be solved (an equilibrium that fails, a flame that does not
converge) is NaN in the results, with its message id beside it; input outside the
core's range (its terminal messages) raises ValueError with the explanation from
ERROR.TXT.
"""
import re
from dataclasses import dataclass

import numpy as np

from . import _core
from .fuels import DATA, _burnable, fuel as _fuel, reactants
from .oxidizers import AIR, oxidizer as _oxidizer

SPECIES = ("H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2", "Ar")

# How a flame iteration ended, in the order of the core's FlameEnd.
FLAME_ENDS = ("converged", "not converged", "zero reactant temperature", "zero reactant mass",
              "no first solution", "not finite")

_tables = {"path": None}


def use_tables(path=None):
    """Loads the property tables from a GPROP.DAT-format file (default: the shipped one)
    for every later call. OSError with the solvers' input/output report if it cannot."""
    path = str(DATA / "GPROP.DAT" if path is None else path)
    _core.load_tables(path)
    _tables["path"] = path


def _explanation(msg_id):
    """The explanation of a message id in ERROR.TXT, as one paragraph."""
    text = (DATA / "ERROR.TXT").read_text()
    m = re.search(rf"^{msg_id}  (.*?)(?=^\S|\Z)", text, re.M | re.S)
    if not m:
        return msg_id
    kind, _, body = m.group(1).partition("\n")
    return f"{msg_id}, {kind.strip()}: {' '.join(body.split())}"


class _Progress:
    """A tqdm bar for a sweep, shown only once it has run longer than a second."""

    def __init__(self, total, what):
        self.bar = None
        if total > 1:
            from tqdm import tqdm
            self.bar = tqdm(total=total, desc=what, unit="state", delay=1.0, leave=False)

    def update(self, n):
        if self.bar is not None:
            self.bar.update(n)

    def close(self):
        if self.bar is not None:
            self.bar.close()


def _set_oxidizer(ox):
    _core.set_oxidizer(ox.N2, ox.Ar, ox.CO2, ox.H2O)


def _sweep(call, columns, piece, what, oxidizer=AIR):
    """Runs call(*columns, fresh) over the flat columns in pieces (for the progress bar;
    the solver's warm start goes on across pieces) with the oxidizer set for the call
    and air again after it. Returns the joined raw results."""
    if _tables["path"] is None:
        use_tables()
    n = len(columns[0])
    parts, progress = [], _Progress(n if n > piece else 0, what)
    _set_oxidizer(oxidizer)
    try:
        for start in range(0, max(n, 1), piece):
            cols = [c[start:start + piece] for c in columns]
            X, prop, dX, TP, ids, ends, stopped, terminal, *more = call(*cols, start == 0)
            if stopped >= 0:
                i = start + stopped
                state = ", ".join(f"{k}={np.ravel(c)[i]:g}" for k, c in zip(_state_names(what), columns))
                raise ValueError(f"state {i} ({state}): {_explanation(terminal.strip())}")
            parts.append((X, prop, dX, TP, ids, ends, *more))
            progress.update(len(cols[0]))
    finally:
        _set_oxidizer(AIR)
        progress.close()
    return [np.concatenate(p) for p in zip(*parts)]


def _state_names(what):
    if what == "equilibrium":
        return ("C", "H", "O", "N", "phi", "T", "P")
    if what == "isentropic":
        return ("C", "H", "O", "N", "phi", "T", "P", "target")
    if what == "detonation":
        return ("C", "H", "O", "N", "phi", "T0", "P0", "HREAC", "RMOLES", "AVMR", "gamma1")
    return ("C", "H", "O", "N", "phi", "T guess", "T0", "P0", "HREAC", "RMOLES", "AVMR")


def _flat(shape, *args):
    return [np.ascontiguousarray(np.broadcast_to(np.asarray(a, dtype=float), shape).ravel()) for a in args]


@dataclass
class Equilibrium:
    """Equilibrium products. Every field has the broadcast shape of the inputs (plain
    numbers for scalar inputs). Units: K, Pa, kg/kmol, J/kg, J/(kg K).

    X, dXdT, dXdP, dXdphi: mole fractions and their derivatives by species name;
    fuel_per_product: moles of fuel per mole of products; M: molar mass; R: gas
    constant; h, u: enthalpy and internal energy (formation basis); cp: equilibrium
    specific heat at constant pressure; cp_cv: the reports' Cp/Cv; solved: False where
    no solution was found (its values NaN); message: the solver's message id of the
    state ("GE01" below 600 K, "GE05".."GE10" for a failure), "" if none.
    s: entropy (J/(kg K)); sound_speed, sound_speed_frozen: speeds of sound (m/s) at
    shifting equilibrium and at fixed composition; gamma_s: (d ln P/d ln rho)_s at
    shifting equilibrium; cp_frozen: cp at fixed composition; fuel: the Fuel burnt.
    """

    T: object
    P: object
    phi: object
    X: dict
    fuel_per_product: object
    M: object
    R: object
    h: object
    u: object
    cp: object
    cp_cv: object
    dXdT: dict
    dXdP: dict
    dXdphi: dict
    solved: object
    message: object
    s: object = None
    sound_speed: object = None
    sound_speed_frozen: object = None
    gamma_s: object = None
    cp_frozen: object = None
    fuel: object = None


@dataclass
class Flame(Equilibrium):
    """An adiabatic flame: T and P are the flame temperature and pressure, the rest
    describes its products as in Equilibrium; end says how the iteration ended."""

    end: object = None


def _fields(shape, X, prop, dX, ids):
    def s(a):
        return a.reshape(shape)[()]

    by_species = lambda a: {name: s(a[:, k]) for k, name in enumerate(SPECIES)}
    return dict(
        X=by_species(X[:, :12]), fuel_per_product=s(X[:, 12]),
        M=s(prop[:, 0]), R=s(prop[:, 1]), h=s(prop[:, 2]), u=s(prop[:, 3]),
        cp=s(prop[:, 5]), cp_cv=s(prop[:, 5] / prop[:, 6]),
        dXdT=by_species(dX[:, 0]), dXdP=by_species(dX[:, 1]), dXdphi=by_species(dX[:, 2]),
        solved=s(~np.isnan(prop[:, 0])),
        message=s(np.char.strip(ids.astype("U4"))),
    )


def _entropy_fields(shape, sound):
    """The entropy and sound of the core's SPROP columns (S DST DSP DSF CPF GAMF GAMS AF AE)."""
    def s(k):
        return sound[:, k].reshape(shape)[()]

    return dict(s=s(0), cp_frozen=s(4), gamma_s=s(6), sound_speed_frozen=s(7), sound_speed=s(8))


def equilibrium(fuel, phi, T, P, oxidizer="air"):
    """Equilibrium products of fuel in the oxidizer (default air, as the programs burn)
    at equivalence ratio phi (counting O2 alone), temperature T (K) and pressure P (Pa),
    as the fixed-T,P program computes them.

    >>> eq = equilibrium("methane", 1.0, 2000.0, 101325.0)
    >>> round(eq.X["H2O"], 4), round(eq.cp_cv, 4)
    (0.1877, 1.2114)
    """
    f = _burnable(_fuel(fuel))
    ox = _oxidizer(oxidizer)
    shape = np.broadcast_shapes(np.shape(phi), np.shape(T), np.shape(P))
    cols = _flat(shape, f.C, f.H, f.O, f.N, phi, T, P)
    X, prop, dX, TP, ids, _, sound = _sweep(_core.equilibria, cols, 1 << 14, "equilibrium", ox)
    return Equilibrium(T=cols[5].reshape(shape)[()], P=cols[6].reshape(shape)[()], phi=cols[4].reshape(shape)[()],
                       fuel=f, **_fields(shape, X, prop, dX, ids), **_entropy_fields(shape, sound))


def flame(fuel, phi, T0=298.15, P0=101325.0, at="pressure", T_guess=2500.0, charge=None, oxidizer="air"):
    """Adiabatic flame of fuel in the oxidizer (default air) at equivalence ratio phi from
    reactants at T0 (K) and P0 (Pa): at="pressure" (enthalpy kept, P = P0) or at="volume"
    (internal energy kept in a closed vessel), through the flame programs' own iteration
    from T_guess. charge: the reactants' HREAC, RMOLES, AVMR (a Reactants) when not those
    of reactants(fuel, phi, T0, oxidizer), as an input file may give them.

    >>> round(flame("methane", 1.0, at="volume").T, 1)
    2584.6
    """
    if at not in ("pressure", "volume"):
        raise ValueError(f'at must be "pressure" or "volume", not {at!r}')
    f = _burnable(_fuel(fuel))
    ox = _oxidizer(oxidizer)
    given = () if charge is None else (np.shape(charge.HREAC), np.shape(charge.RMOLES), np.shape(charge.AVMR))
    shape = np.broadcast_shapes(np.shape(phi), np.shape(T0), np.shape(P0), np.shape(T_guess), *given)
    phi_b, T0_b = np.broadcast_to(np.asarray(phi, float), shape), np.broadcast_to(np.asarray(T0, float), shape)
    r = reactants(f, phi_b, T0_b, ox) if charge is None else charge
    cols = _flat(shape, f.C, f.H, f.O, f.N, phi, T_guess, T0, P0, r.HREAC, r.RMOLES, r.AVMR)

    def call(*c):
        return _core.flames(*c[:11], at == "volume", c[11])

    X, prop, dX, TP, ids, ends, sound = _sweep(call, cols, 512, "flame", ox)
    fields = _fields(shape, X, prop, dX, ids) | _entropy_fields(shape, sound)
    return Flame(T=TP[:, 0].reshape(shape)[()], P=TP[:, 1].reshape(shape)[()], fuel=f,
                 phi=np.asarray(phi_b, float)[()], end=np.array(FLAME_ENDS)[ends].reshape(shape)[()], **fields)
