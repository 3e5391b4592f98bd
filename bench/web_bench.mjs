// Speed of the web engine (a benchmark, run by hand, not a test), after
// `cmake --build --preset web`:
//   node bench/web_bench.mjs
// The grids of bench/python_bench.py (whose figures are the native core's through the
// same batch layer): 10^5 fixed-T,P states of methane in grid order and shuffled, 2000
// flames of propane at constant pressure and volume; best of five rounds, in node and in
// headless Chromium. Then one slider step in the page: 200 flames at constant pressure
// recomputed and redrawn, and the page's own step (both plots); last, the page's sizes.
import fs from 'node:fs';
import path from 'node:path';

import { launch, serve } from '../tests/web/browser.mjs';
import { WEB } from '../tests/web/native.mjs';

// Runs in node and, as its source, in the page: fn(engine) -> printed lines.
async function rates(engine) {
  const lines = [];
  const linspace = (a, b, n) => Float64Array.from({ length: n }, (_, i) => (n === 1 ? a : a + (b - a) * i / (n - 1)));
  const shuffle = (a, seed) => { // a fixed permutation (xorshift), the same in node and page
    const out = Float64Array.from(a);
    let x = seed;
    for (let i = out.length - 1; i > 0; --i) {
      x ^= x << 13; x ^= x >>> 17; x ^= x << 5;
      const j = (x >>> 0) % (i + 1);
      [out[i], out[j]] = [out[j], out[i]];
    }
    return out;
  };
  const best = async (n, call) => {
    let t = Infinity;
    for (let r = 0; r < 5; ++r) {
      const t0 = performance.now();
      await call();
      t = Math.min(t, performance.now() - t0);
    }
    return Math.round(n / (t / 1000));
  };
  const phiG = linspace(0.5, 1.6, 20), TG = linspace(1000, 3500, 50), PG = linspace(-1, 1, 100).map((e) => 101325 * 10 ** e);
  const N = 100000, phi = new Float64Array(N), T = new Float64Array(N), P = new Float64Array(N);
  let k = 0;
  for (const a of phiG) for (const b of TG) for (const c of PG) { phi[k] = a; T[k] = b; P[k] = c; ++k; }
  const order = shuffle(Float64Array.from({ length: N }, (_, i) => i), 12345);
  const sp = order.map((i) => phi[i]), sT = order.map((i) => T[i]), sP = order.map((i) => P[i]);
  await engine.equilibria({ fuel: 'methane', phi: 1, T: 2000, P: 101325 });
  lines.push(`equilibria, ${N} TP states of methane in air`);
  lines.push(`  grid order : ${(await best(N, () => engine.equilibria({ fuel: 'methane', phi, T, P }))).toLocaleString('en')} states/s`);
  lines.push(`  shuffled   : ${(await best(N, () => engine.equilibria({ fuel: 'methane', phi: sp, T: sT, P: sP }))).toLocaleString('en')} states/s`);
  const flames = linspace(0.5, 1.6, 2000), shuffled = shuffle(flames, 678);
  for (const at of ['pressure', 'volume'])
    for (const [what, phis] of [['in order', flames], ['shuffled', shuffled]])
      lines.push(`flames at ${at}, 2000 equivalence ratios of propane ${what}: ${(await best(2000, () => engine.flames({ fuel: 'propane', phi: phis, at }))).toLocaleString('en')} flames/s`);
  return lines;
}

const { createEngine } = await import(path.join(WEB, 'web/engine.mjs'));
console.log('== node', process.version);
for (const l of await rates(await createEngine())) console.log(l);

const server = await serve(path.join(WEB, 'web'));
const browser = await launch();
try {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitForFunction(() => window.suitePage?.ready === true, { timeout: 20000 });
  console.log('== Chromium', await browser.version());
  for (const l of await page.evaluate(`(${rates.toString()})(window.suitePage.engine)`)) console.log(l);
  const step = await page.evaluate(async () => {
    const p = window.suitePage, chart = p.charts.flame;
    const phi = Float64Array.from({ length: 200 }, (_, i) => 0.4 + 1.6 * i / 199);
    const median = (a) => a.sort((x, y) => x - y)[a.length >> 1];
    const one = [], whole = [];
    for (let i = 0; i < 60; ++i) {
      const t0 = performance.now();
      const r = await p.engine.flames({ fuel: 'methane', phi, T0: 298.15 + i, P0: 101325, at: 'pressure' });
      chart.set({ x: phi, series: [{ label: 'methane const P', values: r.T }], notes: [], xLabel: 'F', yLabel: 'T (K)', unit: 'K' });
      chart.u.redraw(false);
      one.push(performance.now() - t0);
    }
    for (let i = 0; i < 30; ++i) {
      p.plot.T0 = 298.15 + i;
      await p.redraw();
      whole.push(p.lastStep.total);
    }
    return { one: median(one), oneWorst: Math.max(...one), whole: median(whole) };
  });
  console.log(`slider step, 200 flames at constant pressure recomputed and redrawn: ${step.one.toFixed(2)} ms median, ${step.oneWorst.toFixed(2)} ms worst`);
  console.log(`the page's slider step (400 flames and 100 equilibria, both plots): ${step.whole.toFixed(2)} ms median`);
} finally {
  await browser.close();
  server.close();
}

console.log('== sizes');
let total = 0;
for (const f of fs.readdirSync(path.join(WEB, 'web')).sort()) {
  const n = fs.statSync(path.join(WEB, 'web', f)).size;
  total += n;
  console.log(`  ${f.padEnd(20)} ${String(n).padStart(8)} bytes`);
}
console.log(`  the page's folder     ${String(total).padStart(8)} bytes`);
console.log(`  web-offline/index.html ${String(fs.statSync(path.join(WEB, 'web-offline/index.html')).size).padStart(7)} bytes (the same page in one file)`);
