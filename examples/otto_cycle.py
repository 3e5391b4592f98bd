"""An Otto cycle of methane-air with equilibrium products, beside the air-standard cycle.

  PYTHONPATH=build/python /usr/bin/python3 examples/otto_cycle.py

1-2 the charge (methane and air, not reacting) is compressed isentropically by the
compression ratio; 2-3 it burns at constant volume (an adiabatic flame at the
compressed state); 3-4 the products expand isentropically back to the start volume,
their composition shifting at equilibrium; 4-1 heat goes out at constant volume. The
work per kg is (u3 - u4) - (u2 - u1); the efficiency is that work over the heat of
combustion of the charge (its lower heating value, products with water as vapour).
The air-standard cycle with gamma = 1.4 has 1 - r^(1 - gamma).
"""
import numpy as np

import combustion_suite as cs

FUEL, PHI, RATIO = "methane", 1.0, 10.0
T1, P1 = 300.0, 101325.0
R_UNIVERSAL = 8314.51  # J/(kmol K)
T_REF = 298.15


def charge_energy(T):
    """Internal energy of the unburned charge per kg, formation included (J/kg)."""
    r = cs.reactants(FUEL, PHI, T)
    return 1000 * r.HREAC / (r.RMOLES * r.AVMR) - R_UNIVERSAL / r.AVMR * T


def compressed_charge_temperature():
    """T2 of the isentropic compression of the charge: the integral of cv/T from T1 to
    T2 equals R ln(ratio), with cv = R / (gamma - 1) from the NASA Glenn coefficients."""
    def excess(T2):
        T = np.linspace(T1, T2, 401)
        return np.trapz(1 / ((cs.processes.reactant_gamma(FUEL, PHI, T) - 1) * T), T) - np.log(RATIO)

    lo, hi = T1, 3 * T1 * RATIO ** 0.4
    for _ in range(60):  # bisection: the integral grows with T2
        mid = 0.5 * (lo + hi)
        lo, hi = (mid, hi) if excess(mid) < 0 else (lo, mid)
    return 0.5 * (lo + hi)


def main():
    T2 = compressed_charge_temperature()
    P2 = P1 * RATIO * T2 / T1  # the same moles in a tenth of the volume
    burnt = cs.flame(FUEL, PHI, T0=T2, P0=P2, at="volume")
    expanded = cs.isentropic(burnt, volume_ratio=RATIO)
    frozen = cs.isentropic(burnt, volume_ratio=RATIO, frozen=True)
    u1, u2 = charge_energy(T1), charge_energy(T2)

    r = cs.reactants(FUEL, PHI, T_REF)
    products = cs.equilibrium(FUEL, PHI, T_REF, P1)  # complete combustion at room temperature
    heat = 1000 * r.HREAC / (r.RMOLES * r.AVMR) - products.h
    work = (burnt.u - expanded.u) - (u2 - u1)
    work_frozen = (burnt.u - frozen.u) - (u2 - u1)
    air = 1 - RATIO ** (1 - 1.4)

    print(f"Otto cycle of {FUEL}-air, phi {PHI:g}, compression ratio {RATIO:g}")
    print(f"state 1, charge: {T1:.1f} K {P1 / 1e5:.3f} bar")
    print(f"state 2, compressed charge: {T2:.1f} K {P2 / 1e5:.3f} bar")
    print(f"state 3, after the flame: {burnt.T:.1f} K {burnt.P / 1e5:.3f} bar")
    print(f"state 4, expanded (equilibrium): {expanded.T:.1f} K {expanded.P / 1e5:.3f} bar")
    print(f"state 4, expanded (frozen): {frozen.T:.1f} K {frozen.P / 1e5:.3f} bar")
    print(f"heat of combustion: {heat / 1e6:.4f} MJ/kg of charge")
    print(f"work: {work / 1e6:.4f} MJ/kg of charge")
    print(f"efficiency, equilibrium products: {work / heat:.4f}")
    print(f"efficiency, frozen expansion: {work_frozen / heat:.4f}")
    print(f"efficiency, air standard: {air:.4f} (gamma 1.4)")


if __name__ == "__main__":
    main()
