"""Equilibria and flames through the core's own routines (PER, the flame iteration),
vectorised: any argument may be an array, and the arguments broadcast.

A state that cannot be solved (an equilibrium that fails, a flame that does not
converge) is NaN in the results, with its message id beside it. Input outside the core's
range (its terminal messages) raises ValueError with the explanation from ERROR.TXT and
the state's position in the arguments' broadcast shape, or with errors="nan" leaves that
state NaN with the message id and goes on. Arguments that are not finite numbers raise
TypeError or ValueError naming them.

Along one call the solver starts each state from the one before, as the programs' solver
does; a state in a sweep therefore differs from the same state solved alone within the
solver's tolerance (measured: below 1E-6 relative in any mole fraction above 1E-10).
"""
from typing import Literal, Optional

import numpy as np

from . import _core
from ._batch import run, use_tables
from ._checks import choice, real
from .fuels import _burnable, fuel as _fuel, reactants
from .oxidizers import oxidizer as _oxidizer
from .results import FLAME_ENDS, SPECIES, Equilibrium, Flame, SpeciesArray

__all__ = ["FLAME_ENDS", "SPECIES", "Equilibrium", "Flame", "SpeciesArray", "equilibrium", "flame", "use_tables"]

Errors = Literal["raise", "nan"]


def flat(shape, *args):
    """The arguments broadcast to shape, each as a flat contiguous float array."""
    return [np.ascontiguousarray(np.broadcast_to(np.asarray(a, dtype=float), shape).reshape(-1)) for a in args]


def _inputs(shape, **values):
    """The call's arguments as recorded on its result: arrays broadcast to its shape."""
    return {k: np.broadcast_to(v, shape) if isinstance(v, np.ndarray) else v for k, v in values.items()}


def equilibrium(fuel, phi, T, P, oxidizer="air", *, derivatives: bool = True, errors: Errors = "raise",
                progress: Optional[bool] = None) -> Equilibrium:
    """Equilibrium products of fuel in the oxidizer (default air, as the programs burn)
    at equivalence ratio phi (counting O2 alone), temperature T (K) and pressure P (Pa),
    as the fixed-T,P program computes them.

    derivatives=False skips the mole fractions' derivatives (a third of the memory);
    errors="nan" keeps going past a state the core refuses (NaN, its message id);
    progress: a bar on the terminal for long sweeps (None), always (True) or never.

    >>> eq = equilibrium("methane", 1.0, 2000.0, 101325.0)
    >>> round(eq.X["H2O"], 4), round(eq.cp_cv, 4)
    (0.1877, 1.2114)
    """
    f = _burnable(_fuel(fuel))
    ox = _oxidizer(oxidizer)
    phi, T, P = real("phi", phi), real("T", T, " K"), real("P", P, " Pa")
    choice("errors", errors, ("raise", "nan"))
    shape = np.broadcast_shapes(phi.shape, T.shape, P.shape)
    cols = flat(shape, f.C, f.H, f.O, f.N, phi, T, P)

    def call(c, out, _, fresh):
        return _core.equilibria(*c, out, fresh)

    raw = run(call, cols, ("C", "H", "O", "N", "phi", "T", "P"), shape, "equilibrium", oxidizer=ox,
              derivatives=derivatives, errors=errors, progress=progress)
    inputs = _inputs(shape, fuel=f.name, oxidizer=ox.name, phi=phi, T=T, P=P)
    return Equilibrium(raw, shape, inputs, f, ox)


def flame(fuel, phi, T0=298.15, P0=101325.0, at: Literal["pressure", "volume"] = "pressure", T_guess=2500.0,
          charge=None, oxidizer="air", *, derivatives: bool = True, errors: Errors = "raise",
          progress: Optional[bool] = None) -> Flame:
    """Adiabatic flame of fuel in the oxidizer (default air) at equivalence ratio phi from
    reactants at T0 (K) and P0 (Pa): at="pressure" (enthalpy kept, P = P0) or at="volume"
    (internal energy kept in a closed vessel), through the flame programs' own iteration
    from T_guess (K). charge: the reactants' HREAC, RMOLES, AVMR (a Reactants) when not
    those of reactants(fuel, phi, T0, oxidizer), as an input file may give them.
    derivatives, errors, progress as for equilibrium().

    >>> round(flame("methane", 1.0, at="volume").T, 1)
    2584.6
    """
    choice("at", at, ("pressure", "volume"))
    choice("errors", errors, ("raise", "nan"))
    f = _burnable(_fuel(fuel))
    ox = _oxidizer(oxidizer)
    phi, T0, P0 = real("phi", phi), real("T0", T0, " K"), real("P0", P0, " Pa")
    T_guess = real("T_guess", T_guess, " K")
    given = () if charge is None else (np.shape(charge.HREAC), np.shape(charge.RMOLES), np.shape(charge.AVMR))
    shape = np.broadcast_shapes(phi.shape, T0.shape, P0.shape, T_guess.shape, *given)
    r = reactants(f, np.broadcast_to(phi, shape), np.broadcast_to(T0, shape), ox) if charge is None else charge
    charge_values = [real(k, getattr(r, k)) for k in ("HREAC", "RMOLES", "AVMR")]
    cols = flat(shape, f.C, f.H, f.O, f.N, phi, T_guess, T0, P0, *charge_values)

    def call(c, out, _, fresh):
        return _core.flames(*c, at == "volume", out, fresh)

    names = ("C", "H", "O", "N", "phi", "T_guess", "T0", "P0", "HREAC", "RMOLES", "AVMR")
    raw = run(call, cols, names, shape, "flame", oxidizer=ox, final=True, derivatives=derivatives,
              errors=errors, progress=progress)
    inputs = _inputs(shape, fuel=f.name, oxidizer=ox.name, at=at, phi=phi, T0=T0, P0=P0, T_guess=T_guess)
    return Flame(raw, shape, inputs, f, ox)
