"""Speed of the Python module (a benchmark, run by hand, not a test):

  PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py

Fixed-T,P equilibria through equilibrium() on arrays of 10^5 states, in states per
second on one core: a sweep in grid order (each state close to the one before, so the
solver starts warm) beside the raw core (the batch call on ready buffers, as the module
makes it) in the same run, and the same states shuffled (mostly cold starts). Then the
cost of a call for one state, and the memory a result keeps per state with and without
the derivatives. Then adiabatic flames per second at constant pressure and at constant
volume. Best of five rounds.
Then isentropic end states per second (expansions of flame products, shifting and
frozen) and Chapman-Jouguet detonations per second.
Then the states that stay unsolved on a wide grid, counted by message id. Last, how far
a state of a sweep lies from the same state solved alone (the solver's warm start along
a sweep), over a wide grid of fuels and oxidizers, and over flames.
"""
import time
import tracemalloc

import numpy as np

import combustion_suite as cs
from combustion_suite import _core

N = 100_000
ROUNDS = 5


def best_rate(n, call):
    best = float("inf")
    for _ in range(ROUNDS):
        start = time.perf_counter()
        call()
        best = min(best, time.perf_counter() - start)
    return n / best


def main():
    # 10^5 states: F 0.5-1.6 (20), T 1000-3500 K (50), P 0.1-10 atm (100), grid order.
    phi, T, P = np.meshgrid(np.linspace(0.5, 1.6, 20), np.linspace(1000, 3500, 50),
                            101325.0 * np.logspace(-1, 1, 100), indexing="ij")
    phi, T, P = phi.ravel(), T.ravel(), P.ravel()
    assert phi.size == N
    cs.equilibrium("methane", 1.0, 2000.0, 101325.0)  # tables loaded outside the timing
    solved = cs.equilibrium("methane", phi, T, P).solved.sum()
    print(f"equilibrium(), {N} TP states of methane in air, {solved} solved")
    wrapped = best_rate(N, lambda: cs.equilibrium('methane', phi, T, P))
    f = cs.fuel("methane")
    cols = [np.full(N, v) for v in (f.C, f.H, f.O, f.N)] + [phi, T, P]
    out = (np.empty((N, 13)), np.empty((N, 13)), np.empty((N, 36)), np.empty((N, 2)), np.empty(N, np.uint8),
           np.empty(N, np.intc), np.empty((N, 9)))
    raw = best_rate(N, lambda: _core.equilibria(*cols, out, True))
    print(f"  grid order : {wrapped:12,.0f} states/s; the raw core {raw:12,.0f} states/s "
          f"(the wrapper {100 * (raw / wrapped - 1):.1f} % on top)")
    order = np.random.default_rng(1).permutation(N)
    sp, sT, sP = phi[order], T[order], P[order]
    print(f"  shuffled   : {best_rate(N, lambda: cs.equilibrium('methane', sp, sT, sP)):12,.0f} states/s")

    calls = 2000
    start = time.perf_counter()
    for k in range(calls):
        cs.equilibrium("methane", 1.0, 2000.0 + k * 0.01, 101325.0)
    print(f"  one state  : {(time.perf_counter() - start) / calls * 1e6:12.1f} us a call")
    for derivatives in (True, False):
        tracemalloc.start()
        before = tracemalloc.get_traced_memory()[0]
        kept = cs.equilibrium("methane", phi, T, P, derivatives=derivatives)
        per_state = (tracemalloc.get_traced_memory()[0] - before) / N
        tracemalloc.stop()
        del kept
        print(f"  memory     : {per_state:12.0f} bytes a state kept (derivatives={derivatives})")

    flames = np.linspace(0.5, 1.6, 2000)
    shuffled = np.random.default_rng(2).permutation(flames)
    for at in ("pressure", "volume"):
        for what, phis in (("in order", flames), ("shuffled", shuffled)):
            rate = best_rate(phis.size, lambda: cs.flame("propane", phis, at=at))
            print(f"flame(at={at!r}), {phis.size} equivalence ratios of propane {what}: {rate:10,.0f} flames/s")

    # Expansions of 2000 flames at 20 atm to 1 atm, and 500 detonations, phi 0.6-1.5.
    hot = cs.flame("methane", np.linspace(0.6, 1.5, 2000), T0=700.0, P0=20 * 101325.0)
    for frozen in (False, True):
        rate = best_rate(hot.T.size, lambda: cs.isentropic(hot, P=101325.0, frozen=frozen))
        print(f"isentropic(frozen={frozen}), {hot.T.size} expansions of methane flames: {rate:10,.0f} states/s")
    phis = np.linspace(0.6, 1.5, 500)
    rate = best_rate(phis.size, lambda: cs.detonation("propane", phis))
    print(f"detonation(), {phis.size} equivalence ratios of propane: {rate:10,.0f} detonations/s")

    # F 0.5-1.6, T 300-4000 K, P 0.01-100 atm, methane and n-octane.
    phi, T, P = np.meshgrid(np.linspace(0.5, 1.6, 23), np.linspace(300, 4000, 75),
                            101325.0 * np.logspace(-2, 2, 9), indexing="ij")
    for fuel in ("methane", "n-octane"):
        eq = cs.equilibrium(fuel, phi, T, P)
        bad = ~eq.solved
        ids, counts = np.unique(eq.message[bad], return_counts=True)
        print(f"sweep of {fuel}: {bad.sum()} of {eq.solved.size} unsolved "
              f"({', '.join(f'{i} {c}' for i, c in zip(ids, counts))})")
        for i in ids:
            sel = bad & (eq.message == i)
            print(f"  {i}: F {phi[sel].min():.2f}-{phi[sel].max():.2f}, T {T[sel].min():.0f}-{T[sel].max():.0f} K,"
                  f" P {P[sel].min() / 101325:g}-{P[sel].max() / 101325:g} atm")

    sweep_against_alone()


def _worst(sweep, alone):
    """The largest relative difference of the mole fractions above 1E-10 (alone's)."""
    x, y = np.asarray(sweep), np.asarray(alone)
    m = y > 1e-10
    return np.max(np.abs(x[m] / y[m] - 1)) if m.any() else 0.0


def sweep_against_alone():
    phi, P, T = np.meshgrid(np.linspace(0.5, 1.6, 12), 101325.0 * np.logspace(-2, 2, 9), np.linspace(300, 4000, 186),
                            indexing="ij")
    for fuel in ("methane", "n-octane", "hydrogen", "ammonia"):
        for ox in ("air", "O2"):
            sweep = cs.equilibrium(fuel, phi, T, P, oxidizer=ox, errors="nan", derivatives=False)
            worst, n = 0.0, 0
            for i in np.ndindex(phi.shape):
                alone = cs.equilibrium(fuel, phi[i], T[i], P[i], oxidizer=ox, errors="nan", derivatives=False)
                if alone.solved:
                    n += 1
                    worst = max(worst, _worst(sweep.X[i], alone.X))
            print(f"sweep against alone, {fuel} in {ox}: {n} solved states, worst {worst:.2e} relative")
    worst = 0.0
    for fuel in ("methane", "n-octane", "hydrogen"):
        for at in ("pressure", "volume"):
            phis = np.linspace(0.5, 1.6, 60)
            sweep = cs.flame(fuel, phis, at=at)
            for i, p in enumerate(phis):
                alone = cs.flame(fuel, p, at=at)
                worst = max(worst, abs(sweep.T[i] / alone.T - 1), _worst(sweep.X[i], alone.X))
    print(f"sweep against alone, 360 flames: worst {worst:.2e} relative (T and mole fractions)")


if __name__ == "__main__":
    main()
