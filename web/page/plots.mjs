// The plots: flame temperature against F for chosen fuels at constant pressure and
// volume, and mole fractions against T on a log axis; recomputed from the sliders, each
// with a readout under the cursor and Save PNG / CSV. uPlot (window.uPlot) draws.
export const SLIDERS = [
  // key, label, unit, min, max, step, log scale
  ['F', 'F', '', 0.2, 3, 0.01, false],
  ['T0', 'T0', 'K', 150, 1500, 1, false],
  ['P0', 'P0', 'Pa', 1e3, 1e7, 0.01, true],
  ['T', 'T', 'K', 600, 4000, 1, false],
  ['P', 'P', 'Pa', 1e3, 1e7, 0.01, true],
];
export const PLOT_DEFAULTS = { F: 1, T0: 298.15, P0: 101325, T: 2200, P: 101325, fuels: ['methane', 'propane'] };

const N_PHI = 100, PHI = [0.4, 2.0], N_T = 100, TRANGE = [600, 4000]; // PER's properties end at 4000 K
const COLORS = ['#0b57a4', '#c0392b', '#1e8449', '#8e44ad', '#d35400', '#16a085', '#7f8c8d', '#b7950b', '#2c3e50', '#e84393', '#6c5ce7', '#00838f'];
const linspace = (a, b, n) => Float64Array.from({ length: n }, (_, i) => a + (b - a) * i / (n - 1));
const fmt = (v, d = 4) => (Number.isFinite(v) ? (Math.abs(v) >= 1e4 || (Math.abs(v) < 1e-3 && v !== 0) ? v.toExponential(d - 1) : v.toPrecision(d)) : '—');

// The flame temperatures of each chosen fuel over F at T0, P0, at both constraints.
export async function flameData(engine, s) {
  const phi = linspace(PHI[0], PHI[1], N_PHI);
  const series = [], notes = [];
  for (const fuel of s.fuels) {
    // A reactant temperature outside the fuel's data leaves no charge: say so once.
    try { engine.reactants({ fuel, phi: 1, T0: s.T0 }); } catch (e) { notes.push(`${e.message}.`); }
    for (const at of ['pressure', 'volume']) {
      let T;
      try {
        T = (await engine.flames({ fuel, phi, T0: s.T0, P0: s.P0, at })).T;
      } catch (e) {
        T = new Float64Array(N_PHI).fill(NaN);
        notes.push(`${fuel}: ${e.message}`);
      }
      series.push({ label: `${fuel} ${at === 'pressure' ? 'const P' : 'const V'}`, values: T });
    }
  }
  return { x: phi, series, notes, xLabel: 'F', yLabel: 'T (K)', unit: 'K' };
}

// Mole fractions over T at F and P; a state a terminal message refuses is a gap.
export async function speciesData(engine, fuelSpec, s) {
  const T = linspace(TRANGE[0], TRANGE[1], N_T);
  const X = {};
  for (const sp of engine.species) X[sp] = new Float64Array(N_T).fill(NaN);
  const refused = new Map(); // message id -> [its explanation, the T refused]
  const notes = [];
  let from = 0;
  const take = (r, at) => { for (const sp of engine.species) X[sp].set(r.X[sp], at); };
  while (from < N_T) {
    try {
      take(await engine.equilibria({ ...fuelSpec, phi: s.F, T: T.subarray(from), P: s.P }), from);
      break;
    } catch (e) {
      if (e.state === undefined) { notes.push(e.message); break; }
      // The states before the one refused are solved again (a batch that stops keeps
      // nothing), the one refused is a gap, and the rest go on after it.
      if (e.state > 0) take(await engine.equilibria({ ...fuelSpec, phi: s.F, T: T.subarray(from, from + e.state), P: s.P }), from);
      const why = e.message.replace(/^state \d+ \([^)]*\): /, '');
      const id = why.slice(0, 4);
      if (!refused.has(id)) refused.set(id, [why, []]);
      refused.get(id)[1].push(T[from + e.state]);
      from += e.state + 1;
    }
  }
  for (const [why, Ts] of refused.values())
    notes.push(`${Ts.length} temperatures from ${fmt(Ts[0])} K: ${why.split('. ')[0]}.`);
  const series = engine.species.filter((sp) => X[sp].some((v) => v > 0))
    .map((sp) => ({ label: sp, values: X[sp].map((v) => (v > 0 ? v : NaN)) }));
  return { x: T, series, notes, xLabel: 'T (K)', yLabel: 'mole fraction', unit: '' };
}

const gaps = (d) => d.series.reduce((n, s) => n + s.values.filter(Number.isNaN).length, 0);

// A uPlot chart in `el`, redrawn with setData; readout(text) is called as the cursor moves.
export class Chart {
  constructor(el, readoutEl, { log = false, yRange } = {}) {
    this.el = el; this.readoutEl = readoutEl; this.log = log; this.yRange = yRange; this.data = null; this.u = null;
    // A new size clears the cursor: it goes back to the slider's value.
    new ResizeObserver(() => {
      if (!this.u) return;
      this.u.setSize(this.size());
      if (this.markAt !== undefined) this.mark(this.markAt);
    }).observe(el);
  }
  size() { return { width: Math.max(240, this.el.clientWidth), height: 320 }; }
  build(d) {
    this.u?.destroy();
    const opts = {
      ...this.size(),
      series: [{ label: d.xLabel, value: (u, v) => fmt(v) }, ...d.series.map((s, k) => ({
        label: s.label, stroke: COLORS[k % COLORS.length], width: 2, dash: /const V/.test(s.label) ? [6, 4] : undefined,
        spanGaps: false, value: (u, v) => fmt(v),
      }))],
      scales: { x: { time: false }, y: this.log ? { distr: 3, range: [1e-8, 1] } : { range: this.yRange } },
      axes: [{ label: d.xLabel }, { label: d.yLabel, size: 70, values: this.log ? (u, vals) => vals.map((v) => (v == null ? "" : v.toExponential(0))) : undefined }],
      legend: { live: true },
      cursor: { y: false },
      hooks: { setCursor: [(u) => this.readout(u.cursor.idx)] },
    };
    this.u = new window.uPlot(opts, this.columns(d), this.el);
    this.shape = d.series.map((s) => s.label).join('|');
  }
  columns(d) { return [Array.from(d.x), ...d.series.map((s) => Array.from(s.values, (v) => (Number.isFinite(v) ? v : null)))]; }
  set(d) {
    this.data = d;
    if (!this.u || this.shape !== d.series.map((s) => s.label).join('|')) this.build(d);
    else this.u.setData(this.columns(d));
    this.readout(this.idx ?? null);
  }
  // Puts the cursor at the x nearest to v (the slider's value), once the chart is laid out.
  mark(v) {
    this.markAt = v;
    if (!this.u || !this.data) return;
    if (!this.u.bbox?.width) { requestAnimationFrame(() => this.mark(v)); return; }
    const x = this.data.x;
    let i = 0;
    for (let k = 1; k < x.length; ++k) if (Math.abs(x[k] - v) < Math.abs(x[i] - v)) i = k;
    this.u.setCursor({ left: this.u.valToPos(x[i], 'x'), top: 10 });
    this.readout(i);
  }
  readout(i) {
    if (i === null || i === undefined || !this.data) return;
    this.idx = i;
    const d = this.data;
    this.readoutEl.textContent = `${d.xLabel} = ${fmt(d.x[i])}: ` +
      d.series.map((s) => `${s.label} ${fmt(s.values[i])}${d.unit ? ` ${d.unit}` : ''}`).join(', ');
  }
  csv() {
    const d = this.data;
    const rows = [[d.xLabel, ...d.series.map((s) => s.label)].join(',')];
    d.x.forEach((x, i) => rows.push([x, ...d.series.map((s) => (Number.isFinite(s.values[i]) ? s.values[i] : ''))].join(',')));
    return rows.join('\r\n') + '\r\n';
  }
  png() {
    const src = this.u.ctx.canvas;
    const c = document.createElement('canvas');
    c.width = src.width; c.height = src.height;
    const g = c.getContext('2d');
    g.fillStyle = '#fff'; g.fillRect(0, 0, c.width, c.height); g.drawImage(src, 0, 0);
    return new Promise((resolve) => c.toBlob(resolve, 'image/png'));
  }
}

export function plotNote(d1, d2) {
  const notes = [...d1.notes, ...d2.notes];
  const n = gaps(d1) + gaps(d2);
  if (n) notes.unshift(`${n} states without a solution are gaps in the plots.`);
  return notes.slice(0, 4).join(' ');
}
