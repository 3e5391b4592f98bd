"""combustion_suite: the combustion suite's equilibrium core in Python.

Named fuels and blends, oxidizers, the reactant charge and input files of the programs, vectorised
equilibria and adiabatic flames through the programs' own routines, and ready figures.

>>> import combustion_suite as cs
>>> cs.flame("propane", [0.8, 1.0, 1.2], at="pressure").T.round(1)
array([2040.1, 2264.3, 2198.1])
"""
from ._version import __version__
from .fuels import Fuel, Reactants, fuel, fuel_names, reactants
from .inputs import write_input
from .oxidizers import Oxidizer, enriched, oxidizer
from .results import FLAME_ENDS, PROCESS_ENDS, SPECIES, Detonation, Equilibrium, Flame, Isentropic, Shock, SpeciesArray
from .solve import equilibrium, flame, use_tables
from .processes import detonation, isentropic, normal_shock

__all__ = ["__version__", "Fuel", "Reactants", "fuel", "fuel_names", "reactants", "Oxidizer", "enriched",
           "oxidizer", "write_input", "FLAME_ENDS", "SPECIES", "SpeciesArray", "Equilibrium", "Flame", "equilibrium",
           "flame", "use_tables", "plot",
           "PROCESS_ENDS", "Detonation", "Isentropic", "Shock", "detonation", "isentropic", "normal_shock"]


def __getattr__(name):
    # The plots load matplotlib, which the numbers do not need: only on first use.
    if name == "plot":
        import importlib
        return importlib.import_module(".plot", __name__)
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")
