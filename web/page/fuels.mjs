// Fuels and the reactant charge, as the Python package computes them: the atoms, molar
// mass and enthalpy of a fuel from FUELS.DAT, and the HREAC, RMOLES, AVMR that the flame
// programs' input files ask for. The same formulas in the same order, so that the same
// doubles come out.

export const T_REF = 298.15; // K, where the formation enthalpy holds
export const R_FIT = 8.314510; // J/(mol K), the gas constant the coefficients were fitted with
export const AIR = Object.freeze({ N2: 3.76, Ar: 0, CO2: 0, H2O: 0 }); // per mole of O2
const DILUENTS = ['N2', 'Ar', 'CO2', 'H2O'];

// The species of FUELS.DAT: { fuel: [{formula, fuel}], air: {formula: fuel} }.
export function readFuels(text) {
  const lines = text.split(/\r?\n/).slice(1).filter((l) => l.trim() !== '');
  const out = { fuel: [], air: {} };
  for (let i = 0; i < lines.length;) {
    const [role, name, formula, c, h, o, n, m, hf, count] = lines[i].trim().split(/\s+/);
    const k = Number(count);
    const intervals = [];
    for (let j = 0; j < k; ++j) intervals.push(lines[i + 1 + j].trim().split(/\s+/).map(Number));
    const f = { name, formula, C: Number(c), H: Number(h), O: Number(o), N: Number(n),
                hf: Number(hf), molarMass: Number(m), intervals };
    if (role === 'fuel') out.fuel.push(f);
    else out.air[formula] = f;
    i += 1 + k;
  }
  return out;
}

// Molar enthalpy in J/mol at T (K), formation enthalpy included; throws outside the fit.
export function enthalpy(f, T) {
  if (!f.intervals.length) {
    if (T !== T_REF) throw new RangeError(`${f.name}: enthalpy known at ${T_REF} K only (no coefficients)`);
    return f.hf;
  }
  const lo = Math.min(Math.min(...f.intervals.map((iv) => iv[0])), T_REF);
  const hi = Math.max(...f.intervals.map((iv) => iv[1]));
  if (!(T >= lo && T <= hi)) throw new RangeError(`${f.name}: reactant temperature outside ${lo} to ${hi} K`);
  // At 298.15 K the assigned enthalpy itself, not the fit's value near it.
  if (T === T_REF) return f.hf;
  let k = f.intervals.findIndex((iv) => T <= iv[1]);
  const [, , ...ab] = f.intervals[k];
  const a = ab.slice(0, 7), b1 = ab[7], t = T;
  const hRT = (-a[0] / (t * t) + a[1] * Math.log(t) / t + a[2]
    + t * (a[3] / 2 + t * (a[4] / 3 + t * (a[5] / 4 + t * a[6] / 5))) + b1 / t);
  return hRT * R_FIT * t;
}

function key(text) {
  const t = String(text).trim().toLowerCase();
  return t.startsWith('n-') ? t.slice(2) : t;
}

// A fuel by name or formula from the library, or {C, H, O, N, hf} (hf in J/mol at
// 298.15 K), known at 298.15 K only.
export function fuel(species, given) {
  if (given && typeof given === 'object') {
    if (given.intervals) return given;
    const { C, H, O = 0, N = 0, hf } = given;
    if (![C, H, O, N, hf].every(Number.isFinite))
      throw new TypeError('a fuel needs a name, or its atoms C and H (O, N) and hf in J/mol');
    const molarMass = 12.0107 * C + 1.00794 * H + 15.9994 * O + 14.0067 * N;
    const name = [['C', C], ['H', H], ['O', O], ['N', N]].filter(([, n]) => n).map(([e, n]) => `${e}${n}`).join('');
    return { name, formula: name, C, H, O, N, hf, molarMass, intervals: [] };
  }
  const found = species.fuel.find((f) => [key(f.name), key(f.formula)].includes(key(given)));
  if (!found) {
    const known = species.fuel.map((f) => `${f.name} (${f.formula})`).join(', ');
    throw new RangeError(`unknown fuel '${given}'; known: ${known}, or give its atoms C, H, O, N and hf`);
  }
  return found;
}

export function oxygenPerFuel(f, phi) {
  return (f.C + f.H / 4 - f.O / 2) / phi;
}

// The fuel-oxidizer charge per kmol of fuel at equivalence ratio phi and reactant
// temperature T (K): HREAC in kJ/kmol of fuel, RMOLES in kmol/kmol, AVMR in kg/kmol. The
// oxidizer is O2 with moles of N2, Ar, CO2, H2O per O2 (air by default); a diluent
// needs its species in FUELS.DAT.
export function reactants(species, f, phi, T, oxidizer = AIR) {
  const o2 = species.air.O2;
  const q = DILUENTS.map((d) => [d, oxidizer[d] ?? 0]).filter(([, v]) => v !== 0);
  for (const [d] of q)
    if (!species.air[d]) throw new RangeError(`no data for ${d} in FUELS.DAT: the oxidizer can hold only ${Object.keys(species.air).filter((s) => s !== 'O2').join(', ')}`);
  const r0 = oxygenPerFuel(f, phi);
  const hFuel = enthalpy(f, T); // first, as the package does: a fuel out of range says so
  let hOx = enthalpy(o2, T), mOx = o2.molarMass, qSum = 0;
  for (const [d, v] of q) {
    hOx += v * enthalpy(species.air[d], T);
    mOx += v * species.air[d].molarMass;
    qSum += v;
  }
  const HREAC = hFuel + r0 * hOx; // J/mol = kJ/kmol
  const RMOLES = 1 + r0 * (1 + qSum);
  const AVMR = (f.molarMass + r0 * mOx) / RMOLES;
  return { HREAC, RMOLES, AVMR };
}
