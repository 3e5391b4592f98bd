// The problems of the three programs as form values and as input file text, each from
// the other: the text written the way the Python package writes input files (every value
// on its own line, followed by what it is), the text read the way the programs read it
// (the titles, then the first field of each record).
import { reactants, fuel as findFuel } from './fuels.mjs';

export const KINDS = {
  tp: { program: 'zorvath', input: 'INPUT.TP', report: 'OUTPUT.TP', titles: 1, label: 'TP',
        name: 'Products at fixed temperature and pressure' },
  hp: { program: 'quellin', input: 'INPUT.HP', report: 'OUTPUT.HP', titles: 3, label: 'HP',
        name: 'Adiabatic flame at constant pressure' },
  uv: { program: 'braskot2', input: 'INPUT.UV', report: 'OUTPUT.UV', titles: 3, label: 'UV',
        name: 'Adiabatic flame at constant volume' },
};

// The values of each kind, in file order: [key, label in the file, unit].
const ATOMS = [['C', 'carbon atoms', ''], ['H', 'hydrogen atoms', ''], ['O', 'oxygen atoms', ''], ['N', 'nitrogen atoms', '']];
export const FIELDS = {
  tp: [...ATOMS, ['phi', 'equivalence ratio', ''], ['T', 'temperature (K)', 'K'], ['P', 'pressure (Pa)', 'Pa']],
  flame: [...ATOMS, ['phi', 'equivalence ratio', ''], ['Tguess', 'final temperature guess (K)', 'K'],
    ['T0', 'reactant temperature (K)', 'K'], ['P0', 'reactant pressure (Pa)', 'Pa'],
    ['HREAC', 'enthalpy of reactants (kJ/kmol of fuel)', 'kJ/kmol'],
    ['RMOLES', 'moles of reactants per mole of fuel', 'kmol/kmol'],
    ['AVMR', 'molar mass of reactants (kg/kmol)', 'kg/kmol']],
};
export const fieldsOf = (kind) => (kind === 'tp' ? FIELDS.tp : FIELDS.flame);

// A number as an input file gives it: the shortest text that reads back as the same
// double, with a decimal point as the shipped examples have.
export function numberText(v) {
  if (!Number.isFinite(v)) return String(v);
  let s = String(v);
  if (/^-?\d+$/.test(s)) s += '.0';
  return s.replace(/e([+-])(\d)$/, 'e$10$2');
}

export function defaults(kind, species) {
  const f = findFuel(species, 'methane');
  const p = { kind, fuel: 'methane', hf: f.hf, C: f.C, H: f.H, O: f.O, N: f.N, phi: 1, auto: true };
  if (kind === 'tp') Object.assign(p, { T: 2200, P: 101325, titles: ['Methane in air, stoichiometric, 2200 K and 1 atm'] });
  else {
    Object.assign(p, { Tguess: kind === 'uv' ? 2500 : 2200, T0: 298.15, P0: 101325,
      titles: ['Methane in air, stoichiometric',
        `${kind === 'uv' ? 'Constant-volume' : 'Constant-pressure'} combustion from 298.15 K and 1 atm`,
        'Reactant enthalpy: methane, O2 and N2 at 298.15 K'] });
    charge(p, species);
  }
  return p;
}

// The fuel of a problem: the named one, or its atoms with hf (J/mol at 298.15 K).
export function problemFuel(p, species) {
  if (p.fuel) return findFuel(species, p.fuel);
  return findFuel(species, { C: p.C, H: p.H, O: p.O, N: p.N, hf: p.hf });
}

// The reactant charge computed from the fuel, phi and T0 when p.auto; a charge that
// cannot be computed is left as it is and the reason returned.
export function charge(p, species, oxidizer) {
  if (p.kind === 'tp' || !p.auto) return '';
  try {
    const r = reactants(species, problemFuel(p, species), p.phi, p.T0, oxidizer);
    if (![r.HREAC, r.RMOLES, r.AVMR].every(Number.isFinite)) return 'the reactant charge is not finite';
    Object.assign(p, r);
    return '';
  } catch (e) {
    return e.message;
  }
}

export function toText(p) {
  const titles = [];
  for (let k = 0; k < KINDS[p.kind].titles; ++k) titles.push(p.titles?.[k] ?? '');
  // A field that holds no number goes into the file as typed: the program says why.
  const values = fieldsOf(p.kind).map(([key, label]) => `${(p.raw?.[key] ?? numberText(p[key])).padEnd(14)} ${label}`);
  return [...titles, ...values].map((l) => `${l}\r\n`).join('');
}

// The form values that a text holds: titles, and each value record's first field as a
// number (NaN where it is none; `bad` lists those). Other fields stay as they were.
export function fromText(text, p, species) {
  const q = { ...p, titles: [], raw: {} };
  const records = text.split('\n').map((r) => r.replace(/\r.*$/s, ''));
  const n = KINDS[p.kind].titles;
  for (let k = 0; k < n; ++k) q.titles.push((records[k] ?? '').slice(0, 72));
  const bad = [];
  fieldsOf(p.kind).forEach(([key], i) => {
    const field = (records[n + i] ?? '').trim().split(/[\s,/]+/)[0] ?? '';
    const v = /^[+-]?(\d+\.?\d*|\.\d+)([eEdD][+-]?\d+)?$/.test(field) ? Number(field.replace(/[dD]/, 'e')) : NaN;
    q[key] = v;
    if (Number.isNaN(v)) { bad.push(key); q.raw[key] = field; }
  });
  // The fuel is the library's that has these atoms (the file holds no name); other
  // atoms are a fuel of their own, with the formation enthalpy the form had.
  const same = (f) => f.C === q.C && f.H === q.H && f.O === q.O && f.N === q.N;
  const named = species.fuel.find(same);
  if (named) { q.fuel = named.name; q.hf = named.hf; }
  else if (q.fuel) { q.hf = findFuel(species, q.fuel).hf; q.fuel = ''; }
  if (q.kind !== 'tp') {
    const computed = { ...q, auto: true };
    charge(computed, species);
    q.auto = ['HREAC', 'RMOLES', 'AVMR'].every((k) => computed[k] === q[k]);
  }
  return { problem: q, bad };
}
