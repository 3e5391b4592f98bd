// The page in headless Chromium: each problem run and its report as the native
// program's, the report downloaded, the plots following a slider moved by keyboard, a
// shared link restored, broken files and bad numbers shown as the program reports them,
// no request outside the page's folder; screenshots of each tab at desktop and phone
// size into build-web/artifacts/.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { launch, open, serve } from './browser.mjs';
import { WEB, runNative } from './native.mjs';

const ARTIFACTS = path.join(WEB, 'artifacts');
const PROGRAM = { tp: 'zorvath', hp: 'quellin', uv: 'braskot2' };
let server, browser;

before(async () => {
  fs.mkdirSync(ARTIFACTS, { recursive: true });
  server = await serve(path.join(WEB, 'web'));
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.close();
});

// The input file the page runs for a tab, as bytes.
const pageInput = (page, kind) => page.evaluate((k) => {
  const p = window.suitePage;
  const s = p.raw[k] ? Array.from(p.raw[k]) : Array.from(p.texts[k].replace(/\r?\n/g, '\r\n'), (c) => c.charCodeAt(0));
  return s;
}, kind).then((a) => Buffer.from(a));

async function runTab(page, kind) {
  await page.click(`#tab-${kind}`);
  const runs = await page.evaluate(() => window.suitePage.runs);
  await page.click('#run');
  await page.waitForFunction((n) => window.suitePage.runs > n, {}, runs);
  return {
    report: await page.$eval('#report', (e) => e.textContent),
    console: await page.$eval('#console', (e) => e.textContent),
  };
}

function assertShows(shown, native, what) {
  assert.equal(shown.report, native.report.toString('latin1'), `${what}: the report shown`);
  const consoleText = native.console.toString('latin1') + native.errors.toString('latin1') +
    (native.status ? `\n[exit status ${native.status}]` : '');
  assert.equal(shown.console, consoleText, `${what}: the console shown`);
}

test('each problem runs and shows the native report; the report downloads as it is', async () => {
  const page = await open(browser, server.url);
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'suite-dl-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  for (const kind of ['tp', 'hp', 'uv']) {
    const shown = await runTab(page, kind);
    const native = runNative(PROGRAM[kind], await pageInput(page, kind));
    assert.equal(native.status, 0);
    assertShows(shown, native, kind);
    await page.click('#download');
    const file = path.join(downloads, `OUTPUT.${kind.toUpperCase()}`);
    for (let i = 0; i < 100 && !fs.existsSync(file); ++i) await new Promise((r) => setTimeout(r, 50));
    assert.ok(fs.readFileSync(file).equals(native.report), `${kind}: the downloaded report`);
  }
  fs.rmSync(downloads, { recursive: true, force: true });
  assert.deepEqual(page.foreign, [], 'requests outside the page');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the form and the text follow each other, and a bad number gets the program\'s own report', async () => {
  const page = await open(browser, server.url);
  await page.click('#tab-hp');
  await page.click('#f-phi', { clickCount: 3 });
  await page.keyboard.type('0.8');
  const text = await page.$eval('#text', (e) => e.value);
  assert.match(text.split(/\r?\n/)[7], /^0\.8 +equivalence ratio$/);
  // The charge followed F: RMOLES = 1 + 2/0.8 * 4.76.
  assert.equal(Number(await page.$eval('#f-RMOLES', (e) => e.value)), 1 + (2 / 0.8) * (1 + 3.76));
  // The text edited: the form follows.
  await page.$eval('#text', (e) => { e.value = e.value.replace(/^298\.15 /m, '400.0 '); e.dispatchEvent(new Event('input')); });
  assert.equal(await page.$eval('#f-T0', (e) => e.value), '400');
  await page.click('#f-P0', { clickCount: 3 });
  await page.keyboard.type('1O1325');
  assert.equal(await page.$eval('#f-P0', (e) => e.getAttribute('aria-invalid')), 'true');
  const shown = await runTab(page, 'hp');
  const native = runNative('quellin', await pageInput(page, 'hp'));
  assert.equal(native.status, 1);
  assertShows(shown, native, 'a bad number');
  // A message id of a report leads to its paragraph of ERROR.TXT.
  await page.click('#tab-tp');
  await page.click('#f-T', { clickCount: 3 });
  await page.keyboard.type('400');
  const cold = await runTab(page, 'tp');
  assert.match(cold.report, /\*\*GE01\*\*/);
  await page.click('#report a.msg[href="#msg-GE01"]');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'msg-GE01');
  assert.equal(await page.$eval('#messages', (e) => e.open), true);
  assert.match(await page.$eval('#msg-GE01', (e) => e.textContent), /^GE01  warning, from EQMD\n +The temperature is below 600 K/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('broken files show the program\'s error and the page goes on', async () => {
  const page = await open(browser, server.url);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'suite-files-'));
  const files = {
    'INPUT.UV': Buffer.from(Array.from({ length: 3000 }, (_, i) => (i * 131) % 256)),
    'empty.tp': Buffer.alloc(0),
    'huge.hp': Buffer.concat([Buffer.from('t\r\nt\r\nt\r\n'), Buffer.alloc(3 << 20, '1.0x\r\n')]),
  };
  const input = await page.$('#open');
  for (const [name, bytes] of Object.entries(files)) {
    fs.writeFileSync(path.join(dir, name), bytes);
    await input.uploadFile(path.join(dir, name));
    await page.waitForFunction((n) => document.getElementById('status').textContent.startsWith(`Opened ${n}`), {}, name);
    const kind = /\.(tp|hp|uv)$/i.exec(name)[1].toLowerCase();
    const shown = await runTab(page, kind);
    assertShows(shown, runNative(PROGRAM[kind], bytes), name);
  }
  // And a sound problem still runs.
  await page.click('#tab-tp');
  await page.select('#fuel', 'propane');
  const shown = await runTab(page, 'tp');
  assertShows(shown, runNative('zorvath', await pageInput(page, 'tp')), 'after the broken files');
  fs.rmSync(dir, { recursive: true, force: true });
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the plots follow the sliders; extremes give gaps and a note', async () => {
  const page = await open(browser, server.url);
  const series = () => page.evaluate(() => Array.from(window.suitePage.charts.flame.data.series[0].values));
  const before = await series();
  await page.focus('#s-T0');
  for (let i = 0; i < 20; ++i) await page.keyboard.press('ArrowRight');
  const settled = (key, test) => page.waitForFunction(new Function(`const p = window.suitePage;
    return p.drawn && p.drawn.${key} === p.plot.${key} && (${test})(p.plot.${key});`));
  await settled('T0', '(v) => v > 310');
  const warmer = await series();
  assert.ok(warmer.every((T, i) => T > before[i]), 'preheated reactants burn hotter');
  assert.match(await page.$eval('#readout-flame', (e) => e.textContent), /^F = 0\.99\d*: methane const P \d{4}/);
  // The lowest T0 is below some fuels' data: their curves are gaps, with a note.
  await page.keyboard.press('Home');
  await settled('T0', '(v) => v === 150');
  const cold = await page.evaluate(() => window.suitePage.charts.flame.data.series.map((s) => s.values.every(Number.isNaN)));
  assert.deepEqual(cold, [true, true, true, true], 'below the fuels\' data: no charge');
  assert.match(await page.$eval('#plot-note', (e) => e.textContent), /without a solution are gaps.*methane: reactant temperature outside 200 to 6000 K.*propane: reactant temperature outside 298.15 to 6000 K/);
  // The species plot follows F.
  const co = () => page.evaluate(() => window.suitePage.charts.species.data.series.find((s) => s.label === 'CO').values[10]);
  const lean = await co();
  await page.focus('#s-F');
  for (let i = 0; i < 30; ++i) await page.keyboard.press('ArrowRight');
  await settled('F', '(v) => v > 1.25');
  assert.ok(await co() > 10 * lean, 'rich mixtures leave CO');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a link restores the whole problem', async () => {
  const page = await open(browser, server.url);
  await page.click('#tab-uv');
  await page.select('#fuel', 'n-octane');
  await page.focus('#s-P0');
  await page.keyboard.press('End');
  await page.click('#link');
  const url = await page.evaluate(() => location.href);
  assert.match(url, /#p=/);
  const text = await page.$eval('#text', (e) => e.value);
  await page.close();

  const restored = await open(browser, url);
  assert.equal(await restored.$eval('#tab-uv', (e) => e.getAttribute('aria-selected')), 'true');
  assert.equal(await restored.$eval('#text', (e) => e.value), text);
  assert.equal(await restored.$eval('#fuel', (e) => e.value), 'n-octane');
  assert.equal(await restored.evaluate(() => window.suitePage.plot.P0), 1e7);
  const shown = await runTab(restored, 'uv');
  assertShows(shown, runNative('braskot2', await pageInput(restored, 'uv')), 'the restored problem');
  // The tabs go by keyboard.
  await restored.focus('#tab-uv');
  await restored.keyboard.press('ArrowRight');
  assert.equal(await restored.evaluate(() => document.activeElement.id), 'tab-tp');
  assert.equal(await restored.$eval('#text-label', (e) => e.textContent), 'INPUT.TP');
  assert.deepEqual(restored.errors, []);
  await restored.close();
});

test('screenshots of each tab at desktop and phone size', async () => {
  for (const [size, viewport] of [['desktop', { width: 1280, height: 900 }], ['phone', { width: 390, height: 844, mobile: true }]]) {
    const page = await open(browser, server.url, viewport);
    for (const kind of ['tp', 'hp', 'uv']) {
      await runTab(page, kind);
      const file = path.join(ARTIFACTS, `${kind}-${size}.png`);
      await page.screenshot({ path: file, fullPage: true });
      assert.ok(fs.statSync(file).size > 10000);
    }
    // Nothing wider than the screen: the controls stack.
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    assert.ok(overflow <= 0, `${size}: the page is ${overflow} px wider than the screen`);
    await page.close();
  }
});

test('the one-file page runs from a local folder', async () => {
  const page = await browser.newPage();
  const requests = [], errors = [];
  page.on('request', (r) => { if (!/^(data|blob):/.test(r.url())) requests.push(r.url()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  const file = path.join(WEB, 'web-offline/index.html');
  await page.goto(`file://${file}`);
  await page.waitForFunction(() => window.suitePage?.ready === true, { timeout: 20000 });
  for (const kind of ['tp', 'uv']) {
    const shown = await runTab(page, kind);
    assertShows(shown, runNative(PROGRAM[kind], await pageInput(page, kind)), `one file, ${kind}`);
  }
  assert.deepEqual(requests, [`file://${file}`], 'the one-file page asks for nothing else');
  assert.deepEqual(errors, []);
  await page.close();
});
