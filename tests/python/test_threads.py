"""The core's state is process-wide: a sweep holds the module's lock from start to end,
so another thread's use_tables() cannot switch it to other tables half way, and threads
calling at once get the answers they would get alone."""
import threading

import numpy as np
import pytest

import combustion_suite as cs
from combustion_suite import _batch
from conftest import DATA


@pytest.fixture
def other_tables(tmp_path):
    """GPROP.DAT with water's formation enthalpy 1 kcal/mol higher: other flames."""
    text = (DATA / "GPROP.DAT").read_text()
    assert "2.3671348 -57.79780" in text
    path = tmp_path / "GPROP.DAT"
    path.write_text(text.replace("2.3671348 -57.79780", "2.3671348 -56.79780"))
    yield path
    cs.use_tables()


def test_sweeps_and_table_changes_from_four_threads(other_tables, monkeypatch):
    # Many pieces per sweep, so that a switch between two pieces would show.
    monkeypatch.setattr(_batch, "PIECE", 64)
    phi = np.linspace(0.6, 1.5, 4000)
    T, P = np.linspace(1500, 3000, 4000), 101325.0
    alone = {}
    for name, path in (("default", None), ("other", other_tables)):
        cs.use_tables(path)
        alone[name] = (cs.flame("propane", phi).T, cs.equilibrium("methane", phi, T, P).X["CO"])
    assert np.abs(alone["other"][0] - alone["default"][0]).min() > 1.0  # the tables do differ

    seen, errors = [], []

    def sweeps(k):
        try:
            for _ in range(4):
                seen.append((k, cs.flame("propane", phi).T if k == 0 else cs.equilibrium("methane", phi, T, P).X["CO"]))
        except Exception as e:  # pragma: no cover - reported below
            errors.append(e)

    done = threading.Event()
    switches = []

    def switch():  # back and forth for as long as the sweeps run
        while not done.is_set():
            cs.use_tables(other_tables if len(switches) % 2 == 0 else None)
            switches.append(1)

    switcher = threading.Thread(target=switch)
    threads = [threading.Thread(target=sweeps, args=(k,)) for k in (0, 1, 0)]
    switcher.start()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    done.set()
    switcher.join()
    assert not errors and len(seen) == 12 and len(switches) > 12
    for k, values in seen:
        assert any(np.array_equal(values, alone[name][k]) for name in alone), "a sweep mixed two table sets"
