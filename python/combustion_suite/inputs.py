"""Input files of the three programs: INPUT.TP, INPUT.UV and INPUT.HP, with every value
on its own line followed by what it is, as the programs' free-form reads allow."""
from pathlib import Path
from typing import Union

from ._batch import explanation
from ._checks import real
from .fuels import _burnable, fuel as _fuel, reactants
from .oxidizers import oxidizer as _oxidizer

_ATOMS = ("carbon atoms", "hydrogen atoms", "oxygen atoms", "nitrogen atoms")


TITLE_WIDTH = 72  # characters of a title line that the programs read and echo


def _title(*wordings):
    """The first wording that fits a title line (a blend's name can be long), else the
    last one cut to fit."""
    for text in wordings:
        if len(text) <= TITLE_WIDTH:
            return text
    return wordings[-1][:TITLE_WIDTH]


def _value_lines(pairs):
    # repr: the shortest text that reads back as the same number.
    return [f"{float(v)!r:<14} {label}" for v, label in pairs]


def _single(name, value, unit=""):
    v = real(name, value, unit)
    if v.ndim:
        raise TypeError(f"an input file holds one state: {name} must be a single number, not an array of {v.shape}")
    return float(v)


def _refuse(name, value, msg_id):
    raise ValueError(f"{name}={value:g}: the program would stop with {explanation(msg_id)}")


def _checked(kind, phi, T, P, T0, P0, T_guess):
    """The values of an input file, refused as the program would refuse them."""
    phi = _single("phi", phi)
    if phi <= 0:
        _refuse("phi", phi, "GE11")
    if kind == "tp":
        if T is None or P is None:
            raise ValueError("an INPUT.TP needs the products' T (K) and P (Pa)")
        T, P = _single("T", T, " K"), _single("P", P, " Pa")
        if T <= 100 or T > 4000:
            _refuse("T", T, "GP01" if T <= 100 else "GP02")
        if P <= 0:
            _refuse("P", P, "GE03")
        return phi, T, P, T0, P0, T_guess
    T0, P0, T_guess = _single("T0", T0, " K"), _single("P0", P0, " Pa"), _single("T_guess", T_guess, " K")
    if T_guess <= 100 or T_guess > 4000:
        _refuse("T_guess", T_guess, "GP01" if T_guess <= 100 else "GP02")
    for name, v in (("T0", T0), ("P0", P0)):
        if v <= 0:
            raise ValueError(f"{name} must be positive, not {v:g}: the program would find no flame")
    return phi, T, P, T0, P0, T_guess


def input_text(kind: str, fuel, phi: float, T=None, P=None, T0=298.15, P0=101325.0, T_guess=2500.0, title=None,
               oxidizer="air") -> str:
    """The text of INPUT.TP (kind "tp": products at T, P) or of INPUT.UV / INPUT.HP
    (kind "uv" or "hp": a flame from reactants at T0, P0), lines ending in CR LF. A blend
    is written with its fractional atom numbers; the oxidizer can only be air. A value the
    program would refuse (phi not positive, T outside 100-4000 K, P not positive) raises
    ValueError with the program's message.

    >>> print(input_text("tp", "methane", 1.0, T=2000.0, P=101325.0).splitlines()[5])
    1.0            equivalence ratio
    """
    kind = kind.lower()
    ox = _oxidizer(oxidizer)
    if not ox.is_air:
        raise ValueError(f"the programs burn in air (3.76 N2 per O2) and their input files have no place for "
                         f"another oxidizer ({ox.name}): use equilibrium() or flame() with oxidizer= instead")
    f = _burnable(_fuel(fuel))
    atoms = list(zip((f.C, f.H, f.O, f.N), _ATOMS))
    if kind not in ("tp", "uv", "hp"):
        raise ValueError(f'kind must be "tp", "uv" or "hp", not {kind!r}')
    phi, T, P, T0, P0, T_guess = _checked(kind, phi, T, P, T0, P0, T_guess)
    if kind == "tp":
        lines = [title or _title(f"{f.name} in air, equivalence ratio {phi:g}, {T:g} K, {P:g} Pa",
                                 f"{f.name} in air, phi {phi:g}, {T:g} K, {P:g} Pa")]
        lines += _value_lines(atoms + [(phi, "equivalence ratio"), (T, "temperature (K)"), (P, "pressure (Pa)")])
    else:
        r = reactants(f, phi, T0)
        what = "Constant-volume" if kind == "uv" else "Constant-pressure"
        lines = [title or _title(f"{f.name} in air, equivalence ratio {phi:g}", f"{f.name} in air, phi {phi:g}"),
                 f"{what} combustion from {T0:g} K and {P0:g} Pa",
                 _title(f"Reactant enthalpy: {f.name}, O2 and N2 at {T0:g} K",
                        f"Reactant enthalpy: fuel, O2 and N2 at {T0:g} K")]
        lines += _value_lines(atoms + [
            (phi, "equivalence ratio"), (T_guess, "final temperature guess (K)"),
            (T0, "reactant temperature (K)"), (P0, "reactant pressure (Pa)"),
            (r.HREAC, "enthalpy of reactants (kJ/kmol of fuel)"),
            (r.RMOLES, "moles of reactants per mole of fuel"), (r.AVMR, "molar mass of reactants (kg/kmol)")])
    return "".join(line + "\r\n" for line in lines)


def write_input(kind: str, fuel, phi: float, path: Union[str, Path, None] = None, **values) -> Path:
    """Writes a complete input file for a program and returns its path: INPUT.TP
    (needs T, P), INPUT.UV or INPUT.HP (T0, P0, optional T_guess), by default under its
    own name in the current directory.

    >>> write_input("uv", "propane", 0.8, T0=298.15, P0=101325.0)
    PosixPath('INPUT.UV')
    """
    path = Path(path or f"INPUT.{kind.upper()}")
    path.write_bytes(input_text(kind, fuel, phi, **values).encode("ascii"))
    return path
