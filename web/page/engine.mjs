// The suite's engine for the page and for node: the three programs run whole on an input
// file's text, and equilibria and flames over arrays of states through the core's batch
// layer. createEngine() resolves to an engine; every run starts from a clean run state
// and, should the module itself fail (a trap), the next call gets a fresh instance.
import { AIR, fuel as findFuel, readFuels, reactants } from './fuels.mjs';

export const PROGRAMS = Object.freeze({
  zorvath: { code: 0, input: 'INPUT.TP', report: 'OUTPUT.TP', kind: 'tp' },
  braskot2: { code: 1, input: 'INPUT.UV', report: 'OUTPUT.UV', kind: 'uv' },
  quellin: { code: 2, input: 'INPUT.HP', report: 'OUTPUT.HP', kind: 'hp' },
});
export const SPECIES = ['H', 'O', 'N', 'H2', 'OH', 'CO', 'NO', 'O2', 'H2O', 'CO2', 'N2', 'Ar'];
export const PROPS = ['M', 'R', 'h', 'u', 'DRT', 'DHT', 'DUT', 'DRP', 'DHP', 'DUP', 'DRF', 'DHF', 'DUF'];
// How a flame iteration ended, in the order of the core's FlameEnd.
export const FLAME_ENDS = ['converged', 'not converged', 'zero reactant temperature', 'zero reactant mass',
  'no first solution', 'not finite'];
const DATA_FILES = ['GPROP.DAT', 'FUELS.DAT', 'ERROR.TXT'];
const WORK = '/run';
const N_X = 13, N_PROP = 13;

const isNode = typeof process === 'object' && !!process.versions?.node && typeof window === 'undefined';
// Bytes as a string, one character per byte (U+0000 to U+00FF): lossless for whatever a
// program writes. Not TextDecoder('latin1'), which is windows-1252 and maps 0x80-0x9F
// elsewhere.
export function bytesToText(bytes) {
  let s = '';
  for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return s;
}
// A string to bytes the same way (characters above U+00FF go as UTF-8).
export function textToBytes(text) {
  if (text instanceof Uint8Array) return text;
  if (text instanceof ArrayBuffer) return new Uint8Array(text);
  const s = String(text);
  if (!/[^\x00-\xff]/.test(s)) return Uint8Array.from(s, (c) => c.charCodeAt(0));
  return new TextEncoder().encode(s);
}

// The page's files beside this module; the one-file page carries them inside
// (globalThis.SUITE_ASSETS, base64).
async function readAsset(name) {
  const inside = globalThis.SUITE_ASSETS?.[name];
  if (inside !== undefined) return Uint8Array.from(atob(inside), (c) => c.charCodeAt(0));
  const url = new URL(name, import.meta.url);
  if (isNode) {
    const { readFile } = await import('node:fs/promises');
    return new Uint8Array(await readFile(url));
  }
  const r = await fetch(url);
  if (!r.ok) throw new Error(`${name}: ${r.status} ${r.statusText}`);
  return new Uint8Array(await r.arrayBuffer());
}

// The explanation of a message id in ERROR.TXT, as one paragraph.
export function explanation(errorText, id) {
  const lines = errorText.split(/\r?\n/);
  const at = lines.findIndex((l) => l.startsWith(`${id}  `));
  if (at < 0) return id;
  const body = [];
  for (let i = at + 1; i < lines.length && !/^\S/.test(lines[i]); ++i) body.push(lines[i].trim());
  return `${id}, ${lines[at].slice(id.length).trim()}: ${body.filter(Boolean).join(' ')}`;
}

async function instantiate(data) {
  const createEngineCore = globalThis.createEngineCore ?? (await import('./engine-core.mjs')).default;
  const options = { print: () => {}, printErr: () => {} };
  // Handing over the .wasm ourselves spares the loader its own fetch, which node's fetch
  // cannot do for a file (the one-file page's engine has the module inside).
  if (!globalThis.createEngineCore) options.wasmBinary = await readAsset('engine-core.wasm');
  const M = await createEngineCore(options);
  M.FS.mkdir(WORK);
  for (const name of DATA_FILES) M.FS.writeFile(`/${name}`, data[name]);
  const path = M._malloc(16);
  writeAscii(M, '/GPROP.DAT', path);
  const failed = M._web_load(path);
  M._free(path);
  if (failed) throw new Error(M.UTF8ToString(M._web_text()));
  return M;
}

function writeAscii(M, s, ptr) {
  const heap = heapBytes(M);
  for (let i = 0; i < s.length; ++i) heap[ptr + i] = s.charCodeAt(i);
  heap[ptr + s.length] = 0;
}

function heapBytes(M) { return new Uint8Array(M.HEAPU8.buffer); }

// Broadcasts numbers and arrays to columns of one length n.
function columns(values) {
  const lengths = values.filter((v) => typeof v !== 'number').map((v) => v.length);
  const n = lengths.length ? lengths[0] : 1;
  if (lengths.some((l) => l !== n)) throw new RangeError('the state arrays must be of one length');
  return { n, cols: values.map((v) => (typeof v === 'number' ? new Float64Array(n).fill(v) : Float64Array.from(v))) };
}

// options.onInstance(module) sees every new instance of the module (tests use it to
// break one and watch the next call recover).
export async function createEngine(options = {}) {
  const data = {};
  for (const name of DATA_FILES) data[name] = await readAsset(name);
  const errorText = bytesToText(data['ERROR.TXT']);
  const species = readFuels(bytesToText(data['FUELS.DAT']));
  const fresh = async () => {
    const m = await instantiate(data);
    options.onInstance?.(m);
    return m;
  };
  let M = await fresh();
  let oxidizer = { ...AIR };

  // A call that leaves the module broken (a trap, a failed allocation) drops it: the
  // next call works on a fresh instance.
  async function guarded(call) {
    if (!M) M = await fresh();
    try {
      return call(M);
    } catch (e) {
      if (e instanceof RangeError) throw e; // bad arguments: the module is fine
      M = null;
      const what = String(e?.message ?? e).replace(/^the engine failed: /, '');
      throw new Error(`the engine failed: ${what} (the next call starts a fresh engine)`);
    }
  }

  function clearWork(m) {
    for (const name of m.FS.readdir(WORK)) if (name !== '.' && name !== '..') m.FS.unlink(`${WORK}/${name}`);
  }

  // Runs a program on an input file (text or bytes), beside GPROP.DAT (the shipped one,
  // or options.gprop), as the native program runs in a folder holding just these.
  async function run(program, inputText, options = {}) {
    const p = PROGRAMS[program];
    if (!p) throw new RangeError(`unknown program '${program}': zorvath, braskot2 or quellin`);
    const input = textToBytes(inputText ?? '');
    const gprop = options.gprop === undefined ? data['GPROP.DAT'] : textToBytes(options.gprop);
    return guarded((m) => {
      // A folder holding only the input and the tables, as a native run in a new folder.
      m.FS.chdir(WORK);
      clearWork(m);
      m.FS.writeFile(p.input, input);
      m.FS.writeFile('GPROP.DAT', gprop);
      const status = m._web_run(p.code);
      if (status === -2) throw new Error(`the engine failed: ${m.UTF8ToString(m._web_text())}`);
      const heap = heapBytes(m);
      const out = heap.slice(m._web_out(), m._web_out() + m._web_out_size());
      const err = heap.slice(m._web_err(), m._web_err() + m._web_err_size());
      let report = new Uint8Array(0);
      if (m.FS.readdir(WORK).includes(p.report)) report = m.FS.readFile(p.report);
      clearWork(m);
      return {
        report: bytesToText(report), console: bytesToText(out), errors: bytesToText(err), status,
        bytes: { report, console: out, errors: err },
      };
    });
  }

  // One batch through the module: kind 0 equilibria, 1 flames at constant pressure, 2 at
  // constant volume; cols are the state columns. Raises on a terminal message.
  function batch(m, kind, n, cols, names) {
    const f64 = 8, nIn = 11 * n;
    const bytes = f64 * (nIn + n * (N_X + N_PROP + 2)) + n * 8 + 8;
    const base = m._malloc(bytes);
    if (!base) throw new Error('out of memory');
    try {
      const inPtr = base, X = inPtr + f64 * nIn, prop = X + f64 * n * N_X, TP = prop + f64 * n * N_PROP;
      const ends = TP + f64 * n * 2, ids = ends + 4 * n;
      const heap = new Float64Array(m.HEAPU8.buffer);
      cols.forEach((c, k) => heap.set(c, inPtr / f64 + k * n));
      m._web_set_oxidizer(oxidizer.N2 ?? 0, oxidizer.Ar ?? 0, oxidizer.CO2 ?? 0, oxidizer.H2O ?? 0);
      const stopped = m._web_batch(kind, n, inPtr, X, prop, TP, ids, ends, 1);
      if (stopped === -2) throw new Error(`the engine failed: ${m.UTF8ToString(m._web_text())}`);
      if (stopped >= 0) {
        const state = names.map((name, k) => `${name}=${cols[k][stopped]}`).join(', ');
        const e = new RangeError(`state ${stopped} (${state}): ${explanation(errorText, m.UTF8ToString(m._web_terminal()).trim())}`);
        e.state = stopped;
        throw e;
      }
      // The groups out of the heap into one array per quantity, in one pass.
      const h = new Float64Array(m.HEAPU8.buffer), u8 = heapBytes(m);
      const endCodes = new Int32Array(m.HEAPU8.buffer, ends, n).slice();
      const xs = SPECIES.map(() => new Float64Array(n)), fp = new Float64Array(n);
      const qs = PROPS.map(() => new Float64Array(n));
      const result = { n, X: {}, T: new Float64Array(n), P: new Float64Array(n), message: new Array(n), solved: new Array(n) };
      for (let i = 0, xi = X / f64, qi = prop / f64, ti = TP / f64, di = ids; i < n; ++i, xi += N_X, qi += N_PROP, ti += 2, di += 4) {
        for (let k = 0; k < 12; ++k) xs[k][i] = h[xi + k];
        fp[i] = h[xi + 12];
        for (let k = 0; k < N_PROP; ++k) qs[k][i] = h[qi + k];
        result.T[i] = h[ti];
        result.P[i] = h[ti + 1];
        const blank = u8[di] === 32 && u8[di + 1] === 32 && u8[di + 2] === 32 && u8[di + 3] === 32;
        result.message[i] = blank ? '' : bytesToText(u8.subarray(di, di + 4)).trim();
        result.solved[i] = !Number.isNaN(qs[0][i]);
      }
      SPECIES.forEach((sp, k) => { result.X[sp] = xs[k]; });
      result.fuelPerProduct = fp;
      PROPS.forEach((name, k) => { result[name] = qs[k]; });
      result.cp = result.DHT;
      result.cpcv = result.DHT.map((v, i) => v / result.DUT[i]);
      if (kind) result.end = Array.from(endCodes, (c) => FLAME_ENDS[c]);
      return result;
    } finally {
      m._free(base);
    }
  }

  function fuelOf(problem) { return findFuel(species, problem.atoms ?? problem.fuel); }

  return {
    programs: Object.keys(PROGRAMS),
    species: SPECIES,
    fuels: species.fuel.map((f) => ({ name: f.name, formula: f.formula, C: f.C, H: f.H, O: f.O, N: f.N, hf: f.hf, molarMass: f.molarMass })),
    errorText,
    data,
    run,
    explain: (id) => explanation(errorText, id),
    // The oxidizer of the calls that follow: moles of N2, Ar, CO2, H2O per mole of O2.
    setOxidizer(q = AIR) {
      oxidizer = { N2: 0, Ar: 0, CO2: 0, H2O: 0, ...q };
      for (const v of Object.values(oxidizer)) if (!(Number.isFinite(v) && v >= 0)) throw new RangeError('an oxidizer holds moles >= 0 per mole of O2');
    },
    oxidizer: () => ({ ...oxidizer }),
    // The reactant charge of a fuel at phi and T0, as the flame programs' inputs want it.
    reactants(problem) {
      const f = fuelOf(problem);
      const { n, cols: [phi, T0] } = columns([problem.phi, problem.T0 ?? 298.15]);
      const out = { HREAC: new Float64Array(n), RMOLES: new Float64Array(n), AVMR: new Float64Array(n) };
      for (let i = 0; i < n; ++i) {
        const r = reactants(species, f, phi[i], T0[i], oxidizer);
        out.HREAC[i] = r.HREAC; out.RMOLES[i] = r.RMOLES; out.AVMR[i] = r.AVMR;
      }
      return out;
    },
    // Equilibria: {fuel: name | atoms: {C, H, O, N}, phi, T (K), P (Pa)}, numbers or arrays.
    async equilibria(problem) {
      const f = fuelOf(problem);
      const { n, cols } = columns([f.C, f.H, f.O, f.N, problem.phi, problem.T, problem.P]);
      return guarded((m) => batch(m, 0, n, cols, ['C', 'H', 'O', 'N', 'phi', 'T', 'P']));
    },
    // Adiabatic flames: {fuel | atoms, phi, T0, P0, at: 'pressure' | 'volume', Tguess,
    // charge: {HREAC, RMOLES, AVMR} when not that of reactants()}. A reactant state
    // outside the fuel data's range gives NaN for that state.
    async flames(problem) {
      const f = fuelOf(problem);
      const at = problem.at ?? 'pressure';
      if (at !== 'pressure' && at !== 'volume') throw new RangeError(`at must be 'pressure' or 'volume', not '${at}'`);
      const given = problem.charge ? [problem.charge.HREAC, problem.charge.RMOLES, problem.charge.AVMR] : [NaN, NaN, NaN];
      const { n, cols } = columns([f.C, f.H, f.O, f.N, problem.phi, problem.Tguess ?? 2500, problem.T0 ?? 298.15,
        problem.P0 ?? 101325, ...given]);
      if (!problem.charge) {
        for (let i = 0; i < n; ++i) {
          let r;
          try { r = reactants(species, f, cols[4][i], cols[6][i], oxidizer); } catch (e) {
            if (!(e instanceof RangeError) || e.message.startsWith('no data')) throw e;
            r = { HREAC: NaN, RMOLES: NaN, AVMR: NaN };
          }
          cols[8][i] = r.HREAC; cols[9][i] = r.RMOLES; cols[10][i] = r.AVMR;
        }
      }
      return guarded((m) => batch(m, at === 'volume' ? 2 : 1, n, cols,
        ['C', 'H', 'O', 'N', 'phi', 'Tguess', 'T0', 'P0', 'HREAC', 'RMOLES', 'AVMR']));
    },
  };
}
