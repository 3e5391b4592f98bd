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
import numpy as np

from . import _core
from ._batch import run
from ._checks import choice, real
from .fuels import _AIR, R_FIT, fuel as _fuel, oxygen_per_fuel, reactants
from .oxidizers import oxidizer as _oxidizer
from .results import PROCESS_ENDS, Detonation, Isentropic, Shock
from .solve import flat

T_MIN, T_MAX = 100.0, 4000.0  # K, the tables' range as PER admits it (T_MIN excluded)
UNSOLVED_START = PROCESS_ENDS.index("no equilibrium")


def _positive(name, value, unit):
    v = real(name, value, unit)
    if not (v > 0).all():
        raise ValueError(f"{name} must be a positive number{' of' + unit if unit else ''}, not {v[~(v > 0)].ravel()[0]!r}")
    return v


def _check_single(shape, end, what):
    """A single state that the input puts out of reach raises; other failures stay NaN."""
    if shape == () and end in ("below 100 K", "above 4000 K", "does not burn"):
        raise ValueError(what(end))


def _starts(state, shape, *more):
    """The start states' columns (fuel, phi, T, P, then more) and compositions broadcast
    to shape, and which of them are solved (an unsolved start stays unsolved)."""
    f = state.fuel
    cols = flat(shape, f.C, f.H, f.O, f.N, state.phi, state.T, state.P, *more)
    X = np.broadcast_to(state._raw.X.reshape(state.shape + (13,)), shape + (13,)).reshape(-1, 13)
    ok = np.isfinite(X).all(axis=1)
    for c in cols[5:]:
        ok &= np.isfinite(c)
    return cols, np.ascontiguousarray(X[ok]), ok


def _process(call, state, shape, cols, X1, ok, names, what, result, inputs, extra=0, errors="raise"):
    """Runs call over the solved starts and spreads the results back over shape."""
    where = np.flatnonzero(ok)
    raw = run(call, [c[ok] for c in cols] + [X1], names + (None,), shape, what, oxidizer=state.oxidizer,
              final=True, extra=extra, errors=errors, where=where).spread(ok, UNSOLVED_START)
    return result(raw, shape, inputs, state.fuel, state.oxidizer)


def isentropic(state, P=None, T=None, volume_ratio=None, frozen: bool = False, *, errors="raise") -> Isentropic:
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
    choice("errors", errors, ("raise", "nan"))
    name, target = given[0]
    if name == "T":
        t = real("T", target, " K")
        if not np.all((t > T_MIN) & (t <= T_MAX)):
            raise ValueError(f"T must lie above {T_MIN:g} K and at most {T_MAX:g} K (the tables' range), "
                             f"not {t[~((t > T_MIN) & (t <= T_MAX))].ravel()[0]!r}")
        target = t
    else:
        target = _positive(name, target, " Pa" if name == "P" else "")
    shape = np.broadcast_shapes(np.shape(state.T), target.shape)
    cols, X1, ok = _starts(state, shape, target)
    kind = ("P", "T", "volume_ratio").index(name)

    def call(c, out, _, fresh):
        return _core.isentropic(*c[:7], c[8], c[7], kind, bool(frozen), out, fresh)

    inputs = {"fuel": state.fuel.name, "oxidizer": state.oxidizer.name, "phi": np.broadcast_to(state.phi, shape),
              name: np.broadcast_to(target, shape), "frozen": bool(frozen)}
    names = ("C", "H", "O", "N", "phi", "T", "P", name)
    r = _process(call, state, shape, cols, X1, ok, names, "isentropic", Isentropic, inputs, errors=errors)
    _check_single(shape, r.end, lambda e: f"the isentrope to {name}={float(np.ravel(target)[0]):g} ends {e}")
    return r


def normal_shock(state, mach=None, velocity=None, *, errors="raise") -> Shock:
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
    choice("errors", errors, ("raise", "nan"))
    a1 = state.sound_speed_frozen
    u1 = np.multiply(_positive("mach", mach, ""), a1) if velocity is None else _positive("velocity", velocity, " m/s")
    if np.any(np.asarray(u1 / a1) <= 1):
        raise ValueError(f"{'mach' if velocity is None else 'velocity'}: a shock needs a gas entering faster "
                         "than its frozen sound speed")
    shape = np.broadcast_shapes(np.shape(state.T), np.shape(u1))
    cols, X1, ok = _starts(state, shape, u1)

    def call(c, out, extra, fresh):
        return _core.shocks(*c[:7], c[8], c[7], out, extra, fresh)

    inputs = {"fuel": state.fuel.name, "oxidizer": state.oxidizer.name, "phi": np.broadcast_to(state.phi, shape),
              "u1": np.broadcast_to(u1, shape), "mach": np.broadcast_to(u1 / a1, shape)}
    names = ("C", "H", "O", "N", "phi", "T", "P", "u1")
    return _process(call, state, shape, cols, X1, ok, names, "shock", Shock, inputs, extra=4, errors=errors)


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


def reactant_gamma(fuel, phi, T0, oxidizer="air"):
    """cp/cv of the fuel-oxidizer charge at T0 (K), from the NASA Glenn coefficients of
    the fuel, O2 and the oxidizer's diluents; NaN for a fuel known at 298.15 K only.

    >>> round(float(reactant_gamma("methane", 1.0, 298.15)), 4)
    1.387
    """
    f = _fuel(fuel)
    ox = _oxidizer(oxidizer)
    r0 = oxygen_per_fuel(f, phi)
    cp_ox = _molar_cp(_AIR["O2"], T0) + sum(q * _molar_cp(_AIR[s], T0) for s, q in ox.diluents())
    cp = (_molar_cp(f, T0) + r0 * cp_ox) / (1 + r0 * ox.moles())
    return np.asarray(cp / (cp - R_FIT))[()]


def detonation(fuel, phi, T0=298.15, P0=101325.0, oxidizer="air", *, errors="raise") -> Detonation:
    """The Chapman-Jouguet detonation of fuel in the oxidizer (default air) at
    equivalence ratio phi, from reactants at rest at T0 (K) and P0 (Pa), with the
    reactants' enthalpy of reactants(fuel, phi, T0, oxidizer), formation included.
    Arrays broadcast.

    >>> d = detonation("methane", 1.0)
    >>> round(float(d.velocity)), round(float(d.P_ratio), 2)
    (1803, 17.17)
    """
    choice("errors", errors, ("raise", "nan"))
    f = _fuel(fuel)
    ox = _oxidizer(oxidizer)
    phi, T0, P0 = real("phi", phi), real("T0", T0, " K"), _positive("P0", P0, " Pa")
    shape = np.broadcast_shapes(phi.shape, T0.shape, P0.shape)
    phi_b, T0_b = np.broadcast_to(phi, shape), np.broadcast_to(T0, shape)
    r = reactants(f, phi_b, T0_b, ox)
    gamma1 = reactant_gamma(f, phi_b, T0_b, ox)
    cols = flat(shape, f.C, f.H, f.O, f.N, phi, T0, P0, r.HREAC, r.RMOLES, r.AVMR, gamma1)

    def call(c, out, extra, fresh):
        return _core.detonations(*c, out, extra, fresh)

    names = ("C", "H", "O", "N", "phi", "T0", "P0", "HREAC", "RMOLES", "AVMR", "gamma1")
    raw = run(call, cols, names, shape, "detonation", oxidizer=ox, final=True, extra=6, errors=errors)
    inputs = {"fuel": f.name, "oxidizer": ox.name, "phi": phi_b, "T0": T0_b, "P0": np.broadcast_to(P0, shape)}
    d = Detonation(raw, shape, inputs, f, ox)
    _check_single(shape, d.end, lambda e: f"phi={float(np.ravel(phi)[0]):g}: the detonation's solve ends: {e}")
    return d
