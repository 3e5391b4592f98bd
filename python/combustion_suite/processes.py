"""Processes from the entropy: isentropic compression and expansion of a result of
equilibrium() or flame(), Chapman-Jouguet detonations and normal shocks at fixed
composition, through the core's own routines (each state on the way at equilibrium, or
frozen at the start's composition).

Bad input raises ValueError naming the argument: a pressure or volume ratio that is not
positive, a target temperature outside the tables' 100-4000 K. A state whose process
cannot be solved (an isentrope that leaves the tables, a charge that does not burn) is
NaN with solved False and its reason in end; a single state of that kind raises
ValueError instead.
"""
from dataclasses import dataclass

import numpy as np

from . import _core
from .fuels import _AIR, R_FIT, fuel as _fuel, oxygen_per_fuel, reactants
from .oxidizers import QN2_AIR as QN2
from .solve import SPECIES, Equilibrium, _entropy_fields, _fields, _flat, _sweep

# How a process ended, in the order of the core's ProcessEnd.
PROCESS_ENDS = ("solved", "below 100 K", "above 4000 K", "no equilibrium", "not converged", "does not burn",
                "subsonic")
T_MIN, T_MAX = 100.0, 4000.0  # K, the tables' range as PER admits it (T_MIN excluded)


@dataclass
class Isentropic(Equilibrium):
    """The end state of an isentrope, as in Equilibrium; frozen: at the start's
    composition (then dXdT, dXdP are 0 and dXdphi NaN); end: how the solve ended."""

    frozen: bool = False
    end: object = None


@dataclass
class Detonation(Equilibrium):
    """A Chapman-Jouguet detonation: the burned gas as in Equilibrium (T, P, X, ...),
    and velocity (m/s, of the front into the reactants at rest), u2 (the burned gas
    behind the front, relative to it: its equilibrium sound speed), P_ratio, T_ratio,
    rho_ratio (burned over unburned), mach (velocity over the reactants' sound speed),
    T0, P0 the unburned state; end: how the solve ended."""

    velocity: object = None
    u2: object = None
    P_ratio: object = None
    T_ratio: object = None
    rho_ratio: object = None
    mach: object = None
    T0: object = None
    P0: object = None
    end: object = None


def _positive(name, value, unit):
    v = np.asarray(value, dtype=float)
    bad = ~(v > 0) | ~np.isfinite(v)
    if bad.any():
        raise ValueError(f"{name} must be a positive number{unit}, not {v[bad].ravel()[0]!r}")
    return v


def _check_single(shape, end, what):
    """A single state that the input puts out of reach raises; other failures stay NaN."""
    if shape == () and end in ("below 100 K", "above 4000 K", "does not burn"):
        raise ValueError(what(end))


def isentropic(state, P=None, T=None, volume_ratio=None, frozen=False):
    """The state reached from state (a result of equilibrium() or flame()) at its
    entropy, at pressure P (Pa), temperature T (K) or specific volume volume_ratio
    times the start's (> 1 an expansion); composition shifting at equilibrium, or fixed
    at the start's with frozen=True. Arrays broadcast with the state's shape.

    >>> from combustion_suite import flame
    >>> hot = flame("methane", 1.0, T0=700.0, P0=20 * 101325.0)
    >>> round(float(isentropic(hot, P=101325.0).T), 1)
    1439.6
    """
    given = [(k, v) for k, v in (("P", P), ("T", T), ("volume_ratio", volume_ratio)) if v is not None]
    if len(given) != 1:
        raise ValueError("give one target: P=, T= or volume_ratio=")
    name, target = given[0]
    if name == "T":
        t = np.asarray(target, dtype=float)
        if not np.all((t > T_MIN) & (t <= T_MAX)):
            raise ValueError(f"T must lie above {T_MIN:g} K and at most {T_MAX:g} K (the tables' range), "
                             f"not {t[~((t > T_MIN) & (t <= T_MAX))].ravel()[0]!r}")
    else:
        target = _positive(name, target, " (Pa)" if name == "P" else "")
    f = _fuel(state.fuel)
    shape = np.broadcast_shapes(np.shape(state.T), np.shape(target))
    cols = _flat(shape, f.C, f.H, f.O, f.N, state.phi, state.T, state.P, target)
    # The start's own composition: a frozen state's is not at equilibrium.
    X1 = np.stack(_flat(shape, *(state.X[k] for k in SPECIES), state.fuel_per_product), axis=1)
    ok = np.isfinite(cols[5]) & np.isfinite(cols[6]) & np.isfinite(X1).all(axis=1)  # unsolved starts stay so
    kind = ("P", "T", "volume_ratio").index(name)

    def call(*c):
        return _core.isentropic(*c[:7], np.ascontiguousarray(c[8]), c[7], kind, bool(frozen), c[9])

    X, prop, dX, TP, ids, ends, sound = _sweep(call, [c[ok] for c in cols] + [X1[ok]], 1 << 12, "isentropic")
    X, prop, dX, TP, sound, ids, ends = _spread(ok, X, prop, dX, TP, sound, ids, ends, 3)
    end = np.array(PROCESS_ENDS)[ends].reshape(shape)[()]
    _check_single(shape, end, lambda e: f"the isentrope to {name}={float(np.ravel(target)[0]):g} ends {e}")
    return Isentropic(T=TP[:, 0].reshape(shape)[()], P=TP[:, 1].reshape(shape)[()], phi=cols[4].reshape(shape)[()],
                      fuel=f, frozen=bool(frozen), end=end, **_fields(shape, X, prop, dX, ids),
                      **_entropy_fields(shape, sound))


@dataclass
class Shock(Equilibrium):
    """A normal shock at fixed composition: the shocked gas as in Equilibrium, and u1
    (the gas entering, m/s), mach (u1 over its frozen sound speed), u2 (leaving, relative
    to the shock), P_ratio, T_ratio, rho_ratio (behind over ahead); end: how it ended."""

    u1: object = None
    mach: object = None
    u2: object = None
    P_ratio: object = None
    T_ratio: object = None
    rho_ratio: object = None
    end: object = None


def normal_shock(state, mach=None, velocity=None):
    """The normal shock into state (any result) entering at mach times its frozen sound
    speed, or at velocity (m/s); the composition stays the state's (frozen) through it.
    Arrays broadcast with the state's shape.

    >>> from combustion_suite import equilibrium
    >>> s = normal_shock(equilibrium("methane", 1.0, 1000.0, 101325.0), mach=3.0)
    >>> round(float(s.P_ratio), 2)
    10.18
    """
    if (mach is None) == (velocity is None):
        raise ValueError("give one of mach= and velocity=")
    f = _fuel(state.fuel)
    a1 = state.sound_speed_frozen
    u1 = np.multiply(_positive("mach", mach, ""), a1) if velocity is None else _positive("velocity", velocity, " (m/s)")
    if np.any(np.asarray(u1 / a1) <= 1):
        raise ValueError(f"{'mach' if velocity is None else 'velocity'}: a shock needs a gas entering faster "
                         "than its frozen sound speed")
    shape = np.broadcast_shapes(np.shape(state.T), np.shape(u1))
    cols = _flat(shape, f.C, f.H, f.O, f.N, state.phi, state.T, state.P, u1)
    X1 = np.stack(_flat(shape, *(state.X[k] for k in SPECIES), state.fuel_per_product), axis=1)
    ok = np.isfinite(cols[5]) & np.isfinite(cols[6]) & np.isfinite(cols[7]) & np.isfinite(X1).all(axis=1)

    def call(*c):
        res, shock = _core.shocks(*c[:7], np.ascontiguousarray(c[8]), c[7], c[9])
        return (*res, shock)

    X, prop, dX, TP, ids, ends, sound, shock = _sweep(call, [c[ok] for c in cols] + [X1[ok]], 1 << 12, "isentropic")
    full = np.full((ok.size, shock.shape[1]), np.nan)
    full[ok] = shock
    X, prop, dX, TP, sound, ids, ends = _spread(ok, X, prop, dX, TP, sound, ids, ends, 3)
    k = lambda j: full[:, j].reshape(shape)[()]
    u1_b = cols[7].reshape(shape)[()]
    return Shock(T=TP[:, 0].reshape(shape)[()], P=TP[:, 1].reshape(shape)[()], phi=cols[4].reshape(shape)[()],
                 fuel=f, u1=u1_b, mach=u1_b / np.broadcast_to(a1, shape)[()], u2=k(0), P_ratio=k(1), T_ratio=k(2),
                 rho_ratio=k(3), end=np.array(PROCESS_ENDS)[ends].reshape(shape)[()],
                 **_fields(shape, X, prop, dX, ids), **_entropy_fields(shape, sound))


def _spread(ok, X, prop, dX, TP, sound, ids, ends, unsolved_end):
    """The results of the states ok back into the full length, NaN elsewhere."""
    n = ok.size
    full = []
    for a in (X, prop, dX, TP, sound):
        b = np.full((n,) + a.shape[1:], np.nan)
        b[ok] = a
        full.append(b)
    i = np.full(n, b"    ", dtype="S4")
    i[ok] = ids
    e = np.full(n, unsolved_end)
    e[ok] = ends
    return (*full, i, e)


def _molar_cp(species, T):
    """cp in J/(mol K) of a species with NASA Glenn intervals at T (K); NaN without them."""
    if not species.intervals:
        return np.full(np.shape(T), np.nan)
    T = np.asarray(T, dtype=float)
    cp = np.full(T.shape, np.nan)
    for k, (tmin, tmax, *a) in enumerate(species.intervals):
        lo = min(tmin, 298.15) if k == 0 else tmin
        sel = (T >= lo) & (T <= tmax) & np.isnan(cp)
        t = T[sel]
        cp[sel] = R_FIT * (a[0] / t**2 + a[1] / t + a[2] + t * (a[3] + t * (a[4] + t * (a[5] + t * a[6]))))
    return cp


def reactant_gamma(fuel, phi, T0):
    """cp/cv of the fuel-air charge at T0 (K), from the NASA Glenn coefficients of the
    fuel, O2 and N2; NaN for a fuel known at 298.15 K only."""
    f = _fuel(fuel)
    r0 = oxygen_per_fuel(f, phi)
    cp = (_molar_cp(f, T0) + r0 * (_molar_cp(_AIR["O2"], T0) + QN2 * _molar_cp(_AIR["N2"], T0))) / (1 + r0 * (1 + QN2))
    return np.asarray(cp / (cp - R_FIT))[()]


def detonation(fuel, phi, T0=298.15, P0=101325.0, oxidizer=None):
    """The Chapman-Jouguet detonation of fuel in air at equivalence ratio phi, from
    reactants at rest at T0 (K) and P0 (Pa), with the reactants' enthalpy of
    reactants(fuel, phi, T0), formation included. Arrays broadcast.

    >>> d = detonation("methane", 1.0)
    >>> round(float(d.velocity)), round(float(d.P_ratio), 2)
    (1803, 17.17)
    """
    if oxidizer is not None:
        raise ValueError("oxidizer: detonations are in air only for now (oxidizer=None)")
    f = _fuel(fuel)
    _positive("P0", P0, " (Pa)")
    shape = np.broadcast_shapes(np.shape(phi), np.shape(T0), np.shape(P0))
    phi_b, T0_b = np.broadcast_to(np.asarray(phi, float), shape), np.broadcast_to(np.asarray(T0, float), shape)
    r = reactants(f, phi_b, T0_b)
    gamma1 = reactant_gamma(f, phi_b, T0_b)
    cols = _flat(shape, f.C, f.H, f.O, f.N, phi, T0, P0, r.HREAC, r.RMOLES, r.AVMR, gamma1)

    def call(*c):
        res, det = _core.detonations(*c)
        return (*res, det)

    X, prop, dX, TP, ids, ends, sound, det = _sweep(call, cols, 1 << 10, "detonation")
    end = np.array(PROCESS_ENDS)[ends].reshape(shape)[()]
    _check_single(shape, end, lambda e: f"phi={float(np.ravel(phi)[0]):g}: the detonation's solve ends: {e}")
    d = lambda k: det[:, k].reshape(shape)[()]
    return Detonation(T=TP[:, 0].reshape(shape)[()], P=TP[:, 1].reshape(shape)[()], phi=np.asarray(phi_b, float)[()],
                      fuel=f, velocity=d(0), u2=d(1), P_ratio=d(2), T_ratio=d(3), rho_ratio=d(4), mach=d(5),
                      T0=np.asarray(T0_b, float)[()], P0=np.broadcast_to(np.asarray(P0, float), shape)[()], end=end,
                      **_fields(shape, X, prop, dX, ids), **_entropy_fields(shape, sound))
