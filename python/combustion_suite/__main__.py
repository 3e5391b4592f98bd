"""Command line of combustion_suite:

  python3 -m combustion_suite plot flame-temperature --fuel methane,propane --out tad.png
  python3 -m combustion_suite plot composition --fuel methane --phi 1 --P 101325 --out x.png
  python3 -m combustion_suite input uv --fuel propane --phi 0.8 --T0 298.15 --P0 101325
  python3 -m combustion_suite flame --fuel propane --phi 0.8:1.2:5 --at volume [--csv]
  python3 -m combustion_suite --version
"""
import argparse
import csv
import sys

import numpy as np

from ._version import __version__

MAJOR = 1e-3  # the table lists the products whose mole fraction exceeds this in a solved row


def _range(text):
    """A list "0.8,1,1.2" or a range "start:stop:count"."""
    if ":" in text:
        start, stop, count = text.split(":")
        return np.linspace(float(start), float(stop), int(count))
    return np.array([float(v) for v in text.split(",")])


def _fuels(text):
    """Fuels separated by ";", or by "," when none is a blend ("methane,propane")."""
    return text.split(";") if ";" in text or ":" in text else text.split(",")


def _parser():
    p = argparse.ArgumentParser(prog="python3 -m combustion_suite", description=__doc__.splitlines()[0])
    p.add_argument("--version", action="version", version=f"combustion_suite {__version__}")
    sub = p.add_subparsers(dest="command", required=True)

    plot = sub.add_parser("plot", help="draw a figure into a PNG file")
    figs = plot.add_subparsers(dest="figure", required=True)
    tad = figs.add_parser("flame-temperature", help="flame temperature against equivalence ratio")
    tad.add_argument("--fuel", default="methane,propane", help="fuels, separated by ';' (a blend: CH4:0.5,H2:0.5)")
    tad.add_argument("--phi", type=_range, default="0.5:1.6:45", help="list a,b,c or range start:stop:count")
    tad.add_argument("--at", default="pressure,volume", help="pressure, volume or both")
    tad.add_argument("--T0", type=float, default=298.15, help="reactant temperature, K")
    tad.add_argument("--P0", type=float, default=101325.0, help="reactant pressure, Pa")
    tad.add_argument("--oxidizer", default="air", help='"air", "dry air", "O2" or "air+O2:<O2 mole fraction>"')
    tad.add_argument("--out", default="flame-temperature.png")
    comp = figs.add_parser("composition", help="mole fractions against temperature")
    comp.add_argument("--fuel", default="methane")
    comp.add_argument("--phi", type=float, default=1.0)
    comp.add_argument("--T", type=_range, default="600:4000:171", help="list or range start:stop:count, K")
    comp.add_argument("--P", type=float, default=101325.0, help="pressure, Pa")
    comp.add_argument("--oxidizer", default="air", help='"air", "dry air", "O2" or "air+O2:<O2 mole fraction>"')
    comp.add_argument("--out", default="composition.png")

    hot = sub.add_parser("flame", help="print adiabatic flames: temperature, pressure, products")
    hot.add_argument("--fuel", default="methane", help="a fuel or a blend (CH4:0.5,H2:0.5)")
    hot.add_argument("--phi", type=_range, default="1", help="list a,b,c or range start:stop:count")
    hot.add_argument("--at", choices=["pressure", "volume"], default="pressure", help="constant pressure or volume")
    hot.add_argument("--T0", type=float, default=298.15, help="reactant temperature, K")
    hot.add_argument("--P0", type=float, default=101325.0, help="reactant pressure, Pa")
    hot.add_argument("--oxidizer", default="air", help='"air", "dry air", "O2" or "air+O2:<O2 mole fraction>"')
    hot.add_argument("--csv", action="store_true", help="a CSV table of every species instead")

    inp = sub.add_parser("input", help="write an input file for a program")
    inp.add_argument("kind", choices=["tp", "uv", "hp"])
    inp.add_argument("--fuel", required=True)
    inp.add_argument("--phi", type=float, required=True)
    inp.add_argument("--T", type=float, help="products' temperature, K (tp)")
    inp.add_argument("--P", type=float, help="products' pressure, Pa (tp)")
    inp.add_argument("--T0", type=float, default=298.15, help="reactant temperature, K (uv, hp)")
    inp.add_argument("--P0", type=float, default=101325.0, help="reactant pressure, Pa (uv, hp)")
    inp.add_argument("--T-guess", dest="T_guess", type=float, default=2500.0, help="first flame temperature, K")
    inp.add_argument("--out", help="file to write (default INPUT.TP, INPUT.UV or INPUT.HP here)")
    return p


def _print_flames(args):
    from .solve import SPECIES, flame
    hot = flame(args.fuel, args.phi, args.T0, args.P0, args.at, oxidizer=args.oxidizer)
    if args.csv:
        out = csv.writer(sys.stdout, lineterminator="\n")
        out.writerow(["phi", "T", "P", *SPECIES])
        for k in range(len(hot.phi)):
            out.writerow([float(v) for v in (hot.phi[k], hot.T[k], hot.P[k], *(hot.X[s][k] for s in SPECIES))])
        return
    peak = {s: np.max(np.where(hot.solved, hot.X[s], 0.0)) for s in SPECIES}
    major = sorted((s for s in SPECIES if peak[s] > MAJOR), key=peak.get, reverse=True)
    print(f"{args.fuel} in {args.oxidizer} from {args.T0:g} K and {args.P0:g} Pa, at constant {args.at}; "
          f"mole fractions above {MAJOR:g}")
    print(f"{'phi':>6} {'T [K]':>8} {'P [Pa]':>10}" + "".join(f"{s:>9}" for s in major))
    for k, phi in enumerate(hot.phi):
        if not hot.solved[k]:
            print(f"{phi:6.4g}  {hot.end[k]}" + (f" ({hot.message[k]})" if hot.message[k] else ""))
            continue
        print(f"{phi:6.4g} {hot.T[k]:8.1f} {hot.P[k]:10.0f}" + "".join(f"{hot.X[s][k]:9.5f}" for s in major))


def main(argv=None):
    args = _parser().parse_args(argv)
    try:
        if args.command == "input":
            from .inputs import write_input
            values = {"T": args.T, "P": args.P} if args.kind == "tp" else {
                "T0": args.T0, "P0": args.P0, "T_guess": args.T_guess}
            print(f"wrote {write_input(args.kind, args.fuel, args.phi, args.out, **values)}")
            return 0
        if args.command == "flame":
            _print_flames(args)
            return 0
        from . import plot
        if args.figure == "flame-temperature":
            fig = plot.flame_temperature(_fuels(args.fuel), args.phi, args.at.split(","), args.T0, args.P0,
                                         oxidizer=args.oxidizer)
        else:
            fig = plot.composition(args.fuel, args.phi, args.T, args.P, oxidizer=args.oxidizer)
        fig.savefig(args.out, dpi=120)
        print(f"wrote {args.out}")
        return 0
    except (ValueError, OSError) as e:
        print(f"combustion_suite: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
