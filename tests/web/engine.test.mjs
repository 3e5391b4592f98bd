// The web engine through node: whole program runs byte-identical to the native
// programs, a clean run state for every run, recovery from a broken module, and the
// vectorised calls against the programs' reports and the Python package's charge.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';

import { GPROP, ROOT, WEB, cases, runNative } from './native.mjs';

const { createEngine } = await import(path.join(WEB, 'web/engine.mjs'));
const engine = await createEngine();

function same(name, web, native) {
  for (const k of ['report', 'console', 'errors'])
    assert.ok(Buffer.from(web.bytes[k]).equals(native[k]), `${name}: ${k} differs`);
  assert.equal(web.status, native.status, `${name}: exit status`);
  // The strings are the bytes, one character each.
  assert.equal(web.report, native.report.toString('latin1'), `${name}: report text`);
}

test('every shipped example and corpus input gives the native bytes', async () => {
  const all = cases();
  assert.ok(all.length > 60, `only ${all.length} cases`);
  for (const [name, program, input, gprop] of all)
    same(name, await engine.run(program, input, { gprop }), runNative(program, input, gprop));
});

test('a run is not changed by the runs before it', async () => {
  const tp = fs.readFileSync(path.join(ROOT, 'data/examples/methane.tp'));
  const first = await engine.run('zorvath', tp);
  await engine.run('quellin', fs.readFileSync(path.join(ROOT, 'data/examples/n-octane.hp')));
  await engine.run('braskot2', '');
  await engine.run('zorvath', tp, { gprop: 'not a table\n' });
  await engine.flames({ fuel: 'propane', phi: [0.5, 1.5], at: 'volume' });
  const again = await engine.run('zorvath', tp);
  assert.deepEqual(again.bytes, first.bytes);
});

test('input the programs refuse gives their own report, as natively', async (t) => {
  const inputs = {
    'binary bytes': Uint8Array.from({ length: 4096 }, (_, i) => (i * 7919) % 256),
    'a huge file': Buffer.concat([fs.readFileSync(path.join(ROOT, 'data/examples/methane.tp')),
      Buffer.alloc(4 << 20, 'x\r\n')]),
    'a bad number': 'title\n1.0\n4.0\n0\n0\n1.0\n22O0\n101325\n',
    'a missing value': 'title\n1.0\n4.0\n',
  };
  for (const [name, input] of Object.entries(inputs)) {
    await t.test(name, async () => {
      for (const program of ['zorvath', 'braskot2', 'quellin']) {
        const web = await engine.run(program, input);
        same(`${name} (${program})`, web, runNative(program, Buffer.from(input)));
      }
    });
  }
  await assert.rejects(engine.run('orvello', ''), RangeError);
});

test('a broken module is dropped and the next run works on a fresh one', async () => {
  let instances = 0, armed = true;
  const e = await createEngine({
    onInstance(m) {
      ++instances;
      const run = m._web_run;
      m._web_run = (code) => {
        if (armed) { armed = false; throw new WebAssembly.RuntimeError('unreachable'); }
        return run(code);
      };
    },
  });
  const input = fs.readFileSync(path.join(ROOT, 'data/examples/methane.uv'));
  await assert.rejects(e.run('braskot2', input), /the engine failed: unreachable/);
  const r = await e.run('braskot2', input);
  assert.equal(instances, 2);
  same('after the trap', r, runNative('braskot2', input));
});

// The value of a labelled line of a report ("Const-pres Flame Temperature [K] = 2223.64").
function reported(report, label) {
  const line = report.split('\r\n').find((l) => l.includes(label));
  return Number(line.split('=')[1]);
}

test('the vectorised calls give the numbers of the programs', async () => {
  const hp = await engine.run('quellin', fs.readFileSync(path.join(ROOT, 'data/examples/methane.hp')));
  const uv = await engine.run('braskot2', fs.readFileSync(path.join(ROOT, 'data/examples/methane.uv')));
  // The examples' charge is reactants(methane, 1, 298.15) to the digits they give.
  const flames = await Promise.all([['pressure', 2200], ['volume', 2500]].map(([at, Tguess]) =>
    engine.flames({ fuel: 'methane', phi: [1, 1], at, Tguess, T0: 298.15, P0: 101325,
      charge: { HREAC: -74600, RMOLES: 10.52, AVMR: 27.6332 } })));
  assert.equal(flames[0].T[0].toFixed(2), reported(hp.report, 'Flame Temperature').toFixed(2));
  assert.equal(flames[1].T[0].toFixed(2), reported(uv.report, 'Flame Temperature').toFixed(2));
  assert.deepEqual(flames[1].end, ['converged', 'converged']);

  const tp = await engine.run('zorvath', fs.readFileSync(path.join(ROOT, 'data/examples/methane.tp')));
  const eq = await engine.equilibria({ fuel: 'CH4', phi: 1, T: [2200, 1500, 3000], P: 101325 });
  const column = tp.report.split('\r\n').filter((l) => /^\s+-?\.\d{6}E[+-]\d\d$/.test(l)).map(Number);
  const mine = [eq.X.H[0], eq.X.O[0], eq.X.N[0], eq.X.H2[0]];
  const theirs = column.slice(5, 9); // after H, Cp, Cp/Cv, M and the fuel per product
  mine.forEach((x, k) => assert.equal(x.toExponential(5), theirs[k].toExponential(5), `X(${k + 1})`));
  assert.ok(eq.X.OH[2] > eq.X.OH[0] && eq.X.OH[0] > eq.X.OH[1], 'dissociation grows with T');

  // Atoms and name give the same state; a terminal message raises with its explanation.
  const byAtoms = await engine.equilibria({ atoms: { C: 1, H: 4, hf: -74600 }, phi: 1, T: 2200, P: 101325 });
  assert.equal(byAtoms.X.CO2[0], eq.X.CO2[0]);
  await assert.rejects(engine.equilibria({ fuel: 'methane', phi: 1, T: [2000, 9000], P: 101325 }),
    (e) => e instanceof RangeError && e.state === 1 && /state 1 .*T=9000/.test(e.message));
  await assert.rejects(engine.equilibria({ fuel: 'unobtainium', phi: 1, T: 2000, P: 1e5 }), /unknown fuel/);
});

test('an oxidizer is set for the calls that follow', async () => {
  const air = await engine.equilibria({ fuel: 'methane', phi: 1, T: 2200, P: 101325 });
  engine.setOxidizer({ N2: 1 }); // enriched air
  try {
    const enriched = await engine.equilibria({ fuel: 'methane', phi: 1, T: 2200, P: 101325 });
    assert.ok(enriched.X.N2[0] < air.X.N2[0] && enriched.X.H2O[0] > air.X.H2O[0], 'less nitrogen, more water');
    const r = engine.reactants({ fuel: 'methane', phi: 1 });
    assert.equal(r.RMOLES[0], 1 + 2 * (1 + 1));
    assert.throws(() => engine.setOxidizer({ N2: -1 }), RangeError);
    engine.setOxidizer({ N2: 3.76, Ar: 0.05 });
    assert.equal(engine.reactants({ fuel: 'methane', phi: 1 }).RMOLES[0], 1 + 2 * (1 + 3.76 + 0.05));
    const argon = await engine.equilibria({ fuel: 'methane', phi: 1, T: 2200, P: 101325 });
    assert.ok(argon.X.Ar[0] > 0, 'argon among the products');
  } finally {
    engine.setOxidizer();
  }
  assert.deepEqual(await engine.equilibria({ fuel: 'methane', phi: 1, T: 2200, P: 101325 }), air);
});

test('the reactant charge is the Python package\'s to the last bit', () => {
  // The package's fuels and oxidizers beside a copy of FUELS.DAT, without its compiled part.
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'suite-fuels-'));
  const pkg = path.join(dir, 'charge');
  fs.mkdirSync(path.join(pkg, 'data'), { recursive: true });
  fs.writeFileSync(path.join(pkg, '__init__.py'), '');
  for (const f of ['fuels.py', 'oxidizers.py']) fs.copyFileSync(path.join(ROOT, 'python/combustion_suite', f), path.join(pkg, f));
  fs.copyFileSync(path.join(ROOT, 'data/FUELS.DAT'), path.join(pkg, 'data/FUELS.DAT'));
  const grid = { phi: [0.3, 0.8, 1, 1.37, 2.5], T0: [298.15, 300, 450.5, 999.9, 1000, 1700] };
  const fuels = engine.fuels.map((f) => f.name);
  const script = `
import json, struct, sys
sys.path.insert(0, ${JSON.stringify(dir)})
from charge import fuels
out = {}
for name in ${JSON.stringify(fuels)}:
    rows = []
    for phi in ${JSON.stringify(grid.phi)}:
        for T in ${JSON.stringify(grid.T0)}:
            try:
                r = fuels.reactants(name, phi, T)
                rows.append([struct.pack('>d', float(v)).hex() for v in (r.HREAC, r.RMOLES, r.AVMR)])
            except ValueError:
                rows.append(None)
    out[name] = rows
print(json.dumps(out))`;
  const py = spawnSync('/usr/bin/python3', ['-c', script], { encoding: 'utf8' });
  fs.rmSync(dir, { recursive: true, force: true });
  assert.equal(py.status, 0, py.stderr);
  const expected = JSON.parse(py.stdout);
  const hex = (x) => { // the bits of a double, as struct.pack('>d', x).hex() gives them
    const b = new DataView(new ArrayBuffer(8));
    b.setFloat64(0, x);
    return Array.from(new Uint8Array(b.buffer), (v) => v.toString(16).padStart(2, '0')).join('');
  };
  let compared = 0;
  for (const name of fuels) {
    let k = 0;
    for (const phi of grid.phi) {
      for (const T0 of grid.T0) {
        const want = expected[name][k++];
        if (want === null) {
          assert.throws(() => engine.reactants({ fuel: name, phi, T0 }), RangeError, `${name} at ${T0} K`);
          continue;
        }
        const r = engine.reactants({ fuel: name, phi, T0 });
        assert.deepEqual([hex(r.HREAC[0]), hex(r.RMOLES[0]), hex(r.AVMR[0])], want, `${name}, phi ${phi}, ${T0} K`);
        ++compared;
      }
    }
  }
  assert.ok(compared > 200);
});
