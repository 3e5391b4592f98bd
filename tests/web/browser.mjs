// Headless Chromium for the page's test and benchmark: Debian's chromium driven by
// puppeteer-core (web/package-lock.json), the page served from a local python3 server.
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import net from 'node:net';
import path from 'node:path';

import { ROOT } from './native.mjs';

const require = createRequire(path.join(ROOT, 'web/package.json'));
const puppeteer = require('puppeteer-core');

export const CHROMIUM = process.env.SUITE_CHROMIUM ?? '/usr/lib/chromium/chromium';

async function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer();
    s.once('error', reject);
    s.listen(0, '127.0.0.1', () => { const { port } = s.address(); s.close(() => resolve(port)); });
  });
}

// A static server of `dir` on 127.0.0.1; resolves once it answers.
export async function serve(dir) {
  const port = await freePort();
  const child = spawn('/usr/bin/python3', ['-m', 'http.server', '--bind', '127.0.0.1', String(port)],
    { cwd: dir, stdio: 'ignore' });
  const url = `http://127.0.0.1:${port}/`;
  for (let i = 0; i < 100; ++i) {
    try { if ((await fetch(url)).ok) return { url, close: () => child.kill() }; } catch { /* not yet */ }
    await new Promise((r) => setTimeout(r, 50));
  }
  child.kill();
  throw new Error('the local server did not start');
}

export async function launch(extraArgs = []) {
  return puppeteer.launch({
    executablePath: CHROMIUM, headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', ...extraArgs],
  });
}

// A page of the browser with every request outside `origin` recorded (the page must
// make none) and every page error kept.
export async function open(browser, url, { width = 1280, height = 900, mobile = false } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, isMobile: mobile, hasTouch: mobile, deviceScaleFactor: 1 });
  page.foreign = [];
  page.errors = [];
  const origin = new URL(url).origin;
  page.on('request', (r) => { const u = r.url(); if (!u.startsWith(origin) && !u.startsWith('data:') && !u.startsWith('blob:')) page.foreign.push(u); });
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.suitePage?.ready === true, { timeout: 20000 });
  return page;
}
