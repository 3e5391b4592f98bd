// The page: the three problems as tabs (a form and the input file beside it, kept in
// step), Run and the report, the live plots, and the link that restores it all.
import { bytesToText, createEngine, textToBytes } from './engine.mjs';
import { readFuels } from './fuels.mjs';
import { decodeState, encodeState } from './hash.mjs';
import { Chart, PLOT_DEFAULTS, SLIDERS, flameData, plotNote, speciesData } from './plots.mjs';
import { KINDS, charge, defaults, fieldsOf, fromText, toText } from './problem.mjs';
import { renderErrorText, renderLinked } from './report.mjs';

const $ = (id) => document.getElementById(id);
const BIG = 256 * 1024, SHOWN = 64 * 1024; // a larger file runs whole but shows its start

const page = {
  kind: 'tp', problems: {}, texts: {}, raw: {}, plot: { ...PLOT_DEFAULTS }, result: null, runs: 0,
};
window.suitePage = page; // for the browser test and the curious

function setStatus(text) { $('status').textContent = text; }

function download(name, bytes, type = 'application/octet-stream') {
  const url = URL.createObjectURL(bytes instanceof Blob ? bytes : new Blob([bytes], { type }));
  const a = document.createElement('a');
  a.href = url; a.download = name;
  document.body.append(a); a.click(); a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// ---- the form and the input file --------------------------------------------------

function buildForm() {
  const p = page.problems[page.kind];
  const k = KINDS[page.kind];
  $('problem-name').textContent = `${k.name} (${k.program})`;
  $('text-label').textContent = k.input;
  const titles = $('titles');
  titles.replaceChildren(Object.assign(document.createElement('legend'), { textContent: 'Titles' }));
  for (let i = 0; i < k.titles; ++i) {
    const input = Object.assign(document.createElement('input'), { id: `title-${i}`, maxLength: 72, value: p.titles[i] ?? '' });
    input.setAttribute('aria-label', `Title ${i + 1}`);
    input.addEventListener('input', () => { p.titles[i] = input.value; formChanged(); });
    titles.append(input);
  }
  const values = $('values');
  values.replaceChildren();
  for (const [key, label, unit] of fieldsOf(page.kind)) {
    const row = document.createElement('div');
    row.className = 'row';
    const l = Object.assign(document.createElement('label'), { htmlFor: `f-${key}`, textContent: label.replace(/ \(.*\)$/, '') + (key === 'phi' ? ' F' : '') });
    const input = Object.assign(document.createElement('input'), { id: `f-${key}`, inputMode: 'decimal' });
    input.addEventListener('input', () => fieldChanged(key, input));
    row.append(l, input, Object.assign(document.createElement('span'), { className: 'unit', textContent: unit }));
    values.append(row);
  }
  $('auto-row').hidden = page.kind === 'tp';
  fillForm();
}

function fillForm(except) {
  const p = page.problems[page.kind];
  for (let i = 0; i < KINDS[page.kind].titles; ++i) {
    const t = $(`title-${i}`);
    if (t !== except) t.value = p.titles[i] ?? '';
  }
  $('fuel').value = p.fuel || '';
  $('hf').value = String(p.hf);
  $('hf-row').hidden = !!p.fuel;
  $('auto').checked = !!p.auto;
  for (const [key] of fieldsOf(page.kind)) {
    const input = $(`f-${key}`);
    const bad = p.raw?.[key] !== undefined;
    input.setAttribute('aria-invalid', String(bad));
    if (input !== except) input.value = bad ? p.raw[key] : String(p[key]);
    input.readOnly = ['HREAC', 'RMOLES', 'AVMR'].includes(key) && p.auto;
  }
}

function number(text) {
  const t = text.trim();
  return /^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(t) ? Number(t) : NaN;
}

function fieldChanged(key, input) {
  const p = page.problems[page.kind];
  const v = number(input.value);
  p.raw = { ...p.raw };
  if (Number.isNaN(v)) p.raw[key] = input.value.trim() || '?';
  else { delete p.raw[key]; p[key] = v; }
  if (['C', 'H', 'O', 'N'].includes(key) && p.fuel) { p.hf = page.fuelOf(p.fuel).hf; p.fuel = ''; }
  formChanged(input);
}

// The form moved: the charge follows when automatic, and the text follows the form.
function formChanged(except) {
  const p = page.problems[page.kind];
  const why = Object.keys(p.raw ?? {}).length ? '' : charge(p, page.species, page.engine.oxidizer());
  $('form-note').textContent = Object.keys(p.raw ?? {}).length
    ? `Not a number: ${Object.keys(p.raw).join(', ')}. Run shows what the program makes of it.`
    : why ? `The reactant charge cannot be computed: ${why}` : '';
  page.texts[page.kind] = toText(p);
  delete page.raw[page.kind];
  $('text').value = page.texts[page.kind];
  fillForm(except);
}

// The text moved: the form follows the text.
function textChanged() {
  delete page.raw[page.kind];
  page.texts[page.kind] = $('text').value;
  const { problem, bad } = fromText(page.texts[page.kind], page.problems[page.kind], page.species);
  page.problems[page.kind] = problem;
  $('form-note').textContent = bad.length ? `The input file holds no number for: ${bad.join(', ')}.` : '';
  fillForm();
}

// The bytes that Run and Save use: an opened file as it was, else the text with CR LF.
function inputBytes(kind = page.kind) {
  if (page.raw[kind]) return page.raw[kind];
  return textToBytes(page.texts[kind].replace(/\r?\n/g, '\r\n'));
}

function selectTab(kind, focus = false) {
  page.kind = kind;
  for (const b of document.querySelectorAll('[role=tab]')) {
    const on = b.dataset.kind === kind;
    b.setAttribute('aria-selected', String(on));
    b.tabIndex = on ? 0 : -1;
    if (on && focus) b.focus();
  }
  $('problem').setAttribute('aria-labelledby', `tab-${kind}`);
  buildForm();
  $('text').value = page.texts[kind];
  showResult(page.results?.[kind]);
}

async function openFile(file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const ext = (/\.(tp|hp|uv)$/i.exec(file.name)?.[1] ?? page.kind).toLowerCase();
  selectTab(ext);
  page.raw[ext] = bytes;
  const big = bytes.length > BIG;
  const text = bytesToText(big ? bytes.subarray(0, SHOWN) : bytes);
  page.texts[ext] = text;
  $('text').value = text;
  if (!big) {
    const { problem, bad } = fromText(text, page.problems[ext], page.species);
    page.problems[ext] = problem;
    $('form-note').textContent = bad.length ? `The file holds no number for: ${bad.join(', ')}. Run shows what the program makes of it.` : '';
  } else {
    $('form-note').textContent = `${file.name}: ${bytes.length} bytes; the first ${SHOWN} are shown, Run reads the whole file.`;
  }
  fillForm();
  setStatus(`Opened ${file.name} (${bytes.length} bytes) as ${KINDS[ext].input}.`);
}

// ---- running ------------------------------------------------------------------------

async function run() {
  const kind = page.kind, k = KINDS[kind];
  $('run').disabled = true;
  try {
    const r = await page.engine.run(k.program, inputBytes(kind));
    page.results = { ...page.results, [kind]: { ...r, kind } };
    showResult(page.results[kind]);
    setStatus(r.status === 0 ? `${k.program} ended normally.` : `${k.program} ended with status ${r.status}.`);
  } catch (e) {
    page.results = { ...page.results, [kind]: null };
    showResult(null);
    $('console').textContent = `${e.message}`;
    $('console').classList.add('failed');
    setStatus('The run failed; the page goes on.');
  } finally {
    $('run').disabled = false;
    page.runs++;
  }
}

function showResult(r) {
  $('report-name').textContent = r ? KINDS[r.kind].report : '';
  $('download').disabled = !r || r.bytes.report.length === 0;
  $('console').classList.toggle('failed', !!r && r.status !== 0);
  const jump = (id) => {
    $('messages').open = true;
    const target = $(`msg-${id}`);
    document.querySelectorAll('#error-text p.target').forEach((p) => p.classList.remove('target'));
    target.classList.add('target');
    target.tabIndex = -1;
    target.scrollIntoView({ block: 'center' });
    target.focus();
  };
  if (!r) { $('report').textContent = ''; $('console').textContent = ''; return; }
  renderLinked($('console'), r.console + r.errors + (r.status ? `\n[exit status ${r.status}]` : ''), page.knownIds, jump);
  renderLinked($('report'), r.report, page.knownIds, jump);
}

// ---- plots ----------------------------------------------------------------------------

function buildSliders() {
  const box = $('sliders');
  for (const [key, label, unit, min, max, step, log] of SLIDERS) {
    const l = document.createElement('label');
    const input = Object.assign(document.createElement('input'), {
      type: 'range', id: `s-${key}`, min: log ? Math.log10(min) : min, max: log ? Math.log10(max) : max, step,
    });
    const out = document.createElement('output');
    out.htmlFor = input.id;
    const show = () => {
      const v = page.plot[key];
      input.value = log ? Math.log10(v) : v;
      out.textContent = `${log ? v.toExponential(2) : +v.toFixed(2)} ${unit}`;
      input.setAttribute('aria-valuetext', out.textContent);
    };
    input.addEventListener('input', () => {
      page.plot[key] = log ? 10 ** Number(input.value) : Number(input.value);
      show();
      schedulePlots();
    });
    l.append(Object.assign(document.createElement('span'), { textContent: label }), input, out);
    box.append(l);
    page.showSlider = { ...page.showSlider, [key]: show };
    show();
  }
  const fuels = $('plot-fuels');
  for (const f of page.engine.fuels) {
    const l = document.createElement('label');
    const c = Object.assign(document.createElement('input'), { type: 'checkbox', value: f.name, checked: page.plot.fuels.includes(f.name) });
    c.addEventListener('change', () => {
      page.plot.fuels = [...fuels.querySelectorAll('input:checked')].map((i) => i.value);
      schedulePlots();
    });
    l.append(c, ` ${f.name}`);
    fuels.append(l);
  }
}

// One redraw at a time, at most one a frame: slider moves during a redraw make one more.
let pending = false, drawing = false, again = false;
function schedulePlots() {
  if (drawing) { again = true; return; }
  if (pending) return;
  pending = true;
  requestAnimationFrame(async () => {
    pending = false;
    drawing = true;
    try { await drawPlots(); } catch (e) { $('plot-note').textContent = `The plots failed: ${e.message}`; }
    drawing = false;
    if (again) { again = false; schedulePlots(); }
  });
}

// The form's fuel, for the mole fractions (methane when the form holds no usable one).
function formFuel() {
  const p = page.problems[page.kind];
  if (p.fuel) return { fuel: p.fuel };
  if ([p.C, p.H, p.O, p.N, p.hf].every(Number.isFinite)) return { atoms: { C: p.C, H: p.H, O: p.O, N: p.N, hf: p.hf } };
  return { fuel: 'methane' };
}

async function drawPlots() {
  const t0 = performance.now();
  const s = { ...page.plot };
  const [d1, d2] = await Promise.all([flameData(page.engine, s), speciesData(page.engine, formFuel(), s)]);
  const t1 = performance.now();
  page.charts.flame.set(d1);
  page.charts.species.set(d2);
  page.charts.flame.mark(s.F);
  page.charts.species.mark(s.T);
  $('plot-note').textContent = plotNote(d1, d2);
  page.lastStep = { compute: t1 - t0, total: performance.now() - t0 };
  page.plotSteps = (page.plotSteps ?? 0) + 1;
  page.drawn = s; // the slider values the plots now show
}
page.redraw = drawPlots; // for the benchmark

// ---- the link -----------------------------------------------------------------------

function currentState() {
  return { tab: page.kind, inputs: Object.fromEntries(Object.keys(KINDS).map((k) => [k, page.texts[k]])),
    plot: page.plot };
}

function restore(state) {
  if (!state) return false;
  for (const k of Object.keys(KINDS)) {
    const text = state.inputs?.[k];
    if (typeof text !== 'string') continue;
    page.texts[k] = text;
    delete page.raw[k];
    page.problems[k] = fromText(text, page.problems[k], page.species).problem;
  }
  if (state.plot && typeof state.plot === 'object') {
    for (const [key, , , min, max] of SLIDERS) {
      const v = Number(state.plot[key]);
      if (Number.isFinite(v)) page.plot[key] = Math.min(max, Math.max(min, v));
    }
    if (Array.isArray(state.plot.fuels)) page.plot.fuels = state.plot.fuels.filter((f) => page.engine.fuels.some((g) => g.name === f));
    for (const c of document.querySelectorAll('#plot-fuels input')) c.checked = page.plot.fuels.includes(c.value);
    Object.values(page.showSlider ?? {}).forEach((show) => show());
  }
  selectTab(KINDS[state.tab] ? state.tab : 'tp');
  return true;
}

// ---- start ----------------------------------------------------------------------------

async function main() {
  try {
    page.engine = await createEngine();
  } catch (e) {
    setStatus(`The engine could not start: ${e.message}`);
    return;
  }
  const engine = page.engine;
  page.species = readFuels(bytesToText(engine.data['FUELS.DAT'])); // for the charge
  page.fuelOf = (name) => page.species.fuel.find((f) => f.name === name);
  page.knownIds = renderErrorText($('error-text'), engine.errorText);

  const sel = $('fuel');
  for (const f of engine.fuels) sel.append(new Option(`${f.name} (${f.formula})`, f.name));
  sel.append(new Option('other: give its atoms and formation enthalpy', ''));
  sel.addEventListener('change', () => {
    const p = page.problems[page.kind];
    p.fuel = sel.value;
    if (p.fuel) {
      const f = page.fuelOf(p.fuel);
      Object.assign(p, { C: f.C, H: f.H, O: f.O, N: f.N, hf: f.hf });
      p.raw = {};
    }
    formChanged();
  });
  $('hf').addEventListener('input', () => {
    const v = number($('hf').value);
    if (Number.isFinite(v)) { page.problems[page.kind].hf = v; formChanged($('hf')); }
  });
  $('auto').addEventListener('change', () => { page.problems[page.kind].auto = $('auto').checked; formChanged(); });
  $('text').addEventListener('input', textChanged);

  for (const k of Object.keys(KINDS)) {
    page.problems[k] = defaults(k, page.species);
    page.texts[k] = toText(page.problems[k]);
  }
  const tabs = [...document.querySelectorAll('[role=tab]')];
  tabs.forEach((b, i) => {
    b.addEventListener('click', () => selectTab(b.dataset.kind));
    b.addEventListener('keydown', (e) => {
      const to = { ArrowRight: i + 1, ArrowLeft: i - 1, Home: 0, End: tabs.length - 1 }[e.key];
      if (to === undefined) return;
      e.preventDefault();
      selectTab(tabs[(to + tabs.length) % tabs.length].dataset.kind, true);
    });
  });

  $('open').addEventListener('change', async (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (file) await openFile(file).catch((err) => setStatus(`Could not open ${file.name}: ${err.message}`));
  });
  $('save').addEventListener('click', () => download(KINDS[page.kind].input, inputBytes()));
  $('run').addEventListener('click', run);
  $('download').addEventListener('click', () => {
    const r = page.results?.[page.kind];
    if (r) download(KINDS[r.kind].report, r.bytes.report);
  });
  $('link').addEventListener('click', async () => {
    const hash = encodeState(currentState());
    history.replaceState(null, '', hash);
    $('link-out').textContent = 'The address now holds this problem: copy it from the address bar.';
    try { await navigator.clipboard.writeText(location.href); $('link-out').textContent = 'Link copied: the address holds this problem.'; } catch { /* no clipboard here */ }
  });
  window.addEventListener('hashchange', () => { restore(decodeState(location.hash)); schedulePlots(); });

  page.charts = {
    flame: new Chart($('plot-flame'), $('readout-flame'), { yRange: [0, 3500] }),
    species: new Chart($('plot-species'), $('readout-species'), { log: true }),
  };
  for (const b of document.querySelectorAll('[data-png]'))
    b.addEventListener('click', async () => download(`${b.dataset.png}.png`, await page.charts[b.dataset.png].png()));
  for (const b of document.querySelectorAll('[data-csv]'))
    b.addEventListener('click', () => download(`${b.dataset.csv}.csv`, new TextEncoder().encode(page.charts[b.dataset.csv].csv()), 'text/csv'));
  buildSliders();

  if (!restore(decodeState(location.hash))) selectTab('tp');
  await drawPlots();
  setStatus('Ready: edit a problem, then Run.');
  page.ready = true;
}

main();
