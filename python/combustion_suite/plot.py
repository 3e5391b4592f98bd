"""Ready figures: the adiabatic flame temperature against equivalence ratio, and the
equilibrium composition against temperature (the dissociation picture).

Each function returns a matplotlib Figure made without pyplot (Agg canvas), so it
leaves pyplot's figures and settings alone; save it with fig.savefig("name.png").
"""
import numpy as np
from matplotlib.backends.backend_agg import FigureCanvasAgg
from matplotlib.figure import Figure

from .fuels import fuel as _fuel
from .oxidizers import oxidizer as _oxidizer
from .solve import SPECIES, equilibrium, flame

_STYLE = {"pressure": ("-", "constant pressure"), "volume": ("--", "constant volume")}


def _figure():
    fig = Figure(figsize=(7, 4.5), layout="constrained")
    FigureCanvasAgg(fig)
    return fig, fig.add_subplot()


def flame_temperature(fuels, phi=np.linspace(0.5, 1.6, 45), at=("pressure", "volume"), T0=298.15, P0=101325.0,
                      oxidizer="air") -> Figure:
    """Adiabatic flame temperature against equivalence ratio: one line per fuel and per
    kind of flame (at "pressure", "volume" or both), reactants at T0 (K) and P0 (Pa) in
    the oxidizer (default air).

    >>> fig = flame_temperature(["methane", "propane"])
    >>> fig.savefig("tad.png")
    """
    fuels = [fuels] if isinstance(fuels, (str, dict)) else list(fuels)
    ox = _oxidizer(oxidizer)
    ats = [at] if isinstance(at, str) else list(at)
    phi = np.asarray(phi, dtype=float)
    fig, ax = _figure()
    for k, name in enumerate(fuels):
        f = _fuel(name)
        for kind in ats:
            style, what = _STYLE[kind]
            T = flame(f, phi, T0, P0, at=kind, oxidizer=ox).T
            ax.plot(phi, T, style, color=f"C{k}", label=f"{f.name}, {what}")
    ax.set_xlabel("Equivalence ratio")
    ax.set_ylabel("Adiabatic flame temperature [K]")
    ax.set_title(f"Fuels in {ox.name} from {T0:g} K and {P0:g} Pa")
    ax.grid(True, alpha=0.3)
    ax.legend(fontsize="small")
    return fig


def composition(fuel, phi=1.0, T=np.linspace(600.0, 4000.0, 171), P=101325.0, floor=1e-6, oxidizer="air") -> Figure:
    """Equilibrium mole fractions against temperature T (K) at equivalence ratio phi and
    pressure P (Pa) in the oxidizer (default air), on a log axis down to floor: one line
    per species that reaches it.

    >>> fig = composition("methane", 1.0, P=101325.0)
    """
    f = _fuel(fuel)
    T = np.asarray(T, dtype=float)
    ox = _oxidizer(oxidizer)
    eq = equilibrium(f, phi, T, P, oxidizer=ox)
    fig, ax = _figure()
    for k, name in enumerate(SPECIES):
        x = eq.X[name]
        if np.nanmax(x, initial=0.0) >= floor:
            ax.plot(T, x, color=f"C{k % 10}", ls="-" if k < 10 else "--", label=name)
    ax.set_yscale("log")
    ax.set_ylim(floor, 1.0)
    ax.set_xlabel("Temperature [K]")
    ax.set_ylabel("Mole fraction")
    ax.set_title(f"{f.name} in {ox.name}, equivalence ratio {phi:g}, {P:g} Pa")
    ax.grid(True, which="both", alpha=0.3)
    ax.legend(fontsize="small", ncol=2)
    return fig
