"""Oxidizers: O2 with the moles of N2, Ar, CO2 and H2O that accompany each mole of it.

The equivalence ratio counts O2 alone; the diluents join the reactant charge at the
reactant temperature and the products (argon among them when the oxidizer holds it).
"""
from dataclasses import dataclass
from typing import Union

DILUENTS = ("N2", "Ar", "CO2", "H2O")
QN2_AIR = 3.76  # N2 per O2 in air, as the programs' tables fix it


@dataclass(frozen=True)
class Oxidizer:
    """O2 with N2, Ar, CO2 and H2O in moles per mole of O2."""

    name: str
    N2: float = 0.0
    Ar: float = 0.0
    CO2: float = 0.0
    H2O: float = 0.0

    def diluents(self) -> list:
        """(species, moles per mole of O2) of the diluents the oxidizer holds.

        >>> AIR.diluents()
        [('N2', 3.76)]
        """
        return [(s, getattr(self, s)) for s in DILUENTS if getattr(self, s) != 0.0]

    def moles(self) -> float:
        """Moles of oxidizer per mole of O2.

        >>> AIR.moles()
        4.76
        """
        return 1.0 + self.N2 + self.Ar + self.CO2 + self.H2O

    @property
    def is_air(self) -> bool:
        return (self.N2, self.Ar, self.CO2, self.H2O) == (QN2_AIR, 0.0, 0.0, 0.0)


AIR = Oxidizer("air", N2=QN2_AIR)
# Standard dry air by mole: O2 0.20946, N2 0.78084, Ar 0.00934, CO2 0.00036.
DRY_AIR = Oxidizer("dry air", N2=0.78084 / 0.20946, Ar=0.00934 / 0.20946, CO2=0.00036 / 0.20946)
OXYGEN = Oxidizer("O2")
_NAMED = {"air": AIR, "dry air": DRY_AIR, "o2": OXYGEN, "oxygen": OXYGEN}


def enriched(x_O2: float) -> Oxidizer:
    """Air (O2 with N2 only) whose O2 mole fraction is x_O2 (above 0, at most 1).

    >>> round(enriched(0.30).N2, 4)
    2.3333
    """
    x = float(x_O2)
    if not 0.0 < x <= 1.0:
        raise ValueError(f"the O2 mole fraction of an oxidizer must be above 0 and at most 1, not {x_O2!r}")
    return Oxidizer(f"air+O2:{x:g}", N2=(1.0 - x) / x)


def oxidizer(given: Union[str, dict, Oxidizer] = "air") -> Oxidizer:
    """An Oxidizer from "air" (3.76 N2 per O2), "dry air", "O2", "air+O2:0.30" (O2 mole
    fraction), a dict of moles of N2, Ar, CO2, H2O per mole of O2, or an Oxidizer.

    >>> oxidizer({"N2": 3.76, "CO2": 0.2, "H2O": 0.3}).moles()
    5.26
    """
    if isinstance(given, Oxidizer):
        return given
    if isinstance(given, str):
        key = " ".join(given.lower().split())
        if key in _NAMED:
            return _NAMED[key]
        if key.replace(" ", "").startswith("air+o2:"):
            try:
                return enriched(float(key.split(":", 1)[1]))
            except ValueError as e:
                if "mole fraction" in str(e):
                    raise
        raise ValueError(f'unknown oxidizer {given!r}: "air", "dry air", "O2", "air+O2:<O2 mole fraction>" '
                         f'or a dict of moles of {", ".join(DILUENTS)} per mole of O2')
    if isinstance(given, dict):
        unknown = [k for k in given if k not in DILUENTS]
        if unknown:
            raise ValueError(f"an oxidizer holds O2 with {', '.join(DILUENTS)} only, not {', '.join(map(str, unknown))}")
        q = {k: float(v) for k, v in given.items()}
        if any(not v >= 0.0 or v == float("inf") for v in q.values()):
            raise ValueError(f"an oxidizer's moles per mole of O2 must be finite and >= 0: {given!r}")
        name = "O2" + "".join(f" + {q[k]:g} {k}" for k in DILUENTS if q.get(k))
        return Oxidizer(name, **q)
    raise ValueError(f"an oxidizer is a name, a dict of moles per mole of O2 or an Oxidizer, not {given!r}")
