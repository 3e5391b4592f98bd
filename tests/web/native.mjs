// What the tests of the web engine share: the native programs run as a user runs them
// (a new folder holding the input file and GPROP.DAT), and the inputs to compare on.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const NATIVE = process.env.SUITE_NATIVE_BUILD ?? path.join(ROOT, 'build');
export const WEB = process.env.SUITE_WEB_BUILD ?? path.join(ROOT, 'build-web');
export const PROGRAMS = {
  zorvath: { dir: 'tp', input: 'INPUT.TP', report: 'OUTPUT.TP' },
  braskot2: { dir: 'uv', input: 'INPUT.UV', report: 'OUTPUT.UV' },
  quellin: { dir: 'hp', input: 'INPUT.HP', report: 'OUTPUT.HP' },
};
export const GPROP = fs.readFileSync(path.join(ROOT, 'data/GPROP.DAT'));

export function runNative(program, input, gprop = GPROP) {
  const p = PROGRAMS[program];
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'suite-web-'));
  try {
    fs.writeFileSync(path.join(dir, p.input), input);
    fs.writeFileSync(path.join(dir, 'GPROP.DAT'), gprop);
    const r = spawnSync(path.join(NATIVE, p.dir, program), [], { cwd: dir, encoding: 'buffer' });
    if (r.error) throw r.error;
    const reportPath = path.join(dir, p.report);
    return {
      status: r.status, console: r.stdout, errors: r.stderr,
      report: fs.existsSync(reportPath) ? fs.readFileSync(reportPath) : Buffer.alloc(0),
    };
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

const KIND = { tp: 'zorvath', uv: 'braskot2', hp: 'quellin' };

// Every input to compare on: [name, program, input bytes, GPROP.DAT bytes]. The shipped
// examples with their program; the whole-program corpora with theirs (the flame corpus
// with both flame programs); the record-reading corpora as the input of each program;
// the table corpus as GPROP.DAT beside the methane examples.
export function cases() {
  const out = [];
  const ex = path.join(ROOT, 'data/examples');
  for (const f of fs.readdirSync(ex).sort()) {
    const kind = path.extname(f).slice(1);
    if (KIND[kind]) out.push([`example ${f}`, KIND[kind], fs.readFileSync(path.join(ex, f)), GPROP]);
  }
  const corpus = path.join(ROOT, 'tests/fuzz/corpus');
  const programsOf = { zorvath: ['zorvath'], braskot2: ['braskot2', 'quellin'],
    free_read: Object.keys(KIND).map((k) => KIND[k]), field_read: Object.keys(KIND).map((k) => KIND[k]) };
  for (const dir of fs.readdirSync(corpus).sort()) {
    for (const f of fs.readdirSync(path.join(corpus, dir)).sort()) {
      const bytes = fs.readFileSync(path.join(corpus, dir, f));
      if (dir === 'tables') {
        for (const kind of ['tp', 'hp'])
          out.push([`tables/${f} with methane.${kind}`, KIND[kind], fs.readFileSync(path.join(ex, `methane.${kind}`)), bytes]);
      } else {
        for (const program of programsOf[dir] ?? []) out.push([`${dir}/${f} (${program})`, program, bytes, GPROP]);
      }
    }
  }
  return out;
}
