"""The sweep of states through the core's batch calls (_core), shared by every solve.

The core's state (its tables, its oxidizer, the solver's warm start) is process-wide, so
a sweep holds CORE_LOCK from start to end, and use_tables() takes it too: a sweep runs
on one table set throughout, and threads calling at once get the answers they would get
alone, one after another. To use several cores, use processes (multiprocessing, Dask).

The core writes each piece of states straight into the result's blocks, except for the
groups the results keep only in part (the properties' derivatives, the entropy's), which
pass through a scratch buffer of one piece.
"""
import re
import sys
import threading
from pathlib import Path
from typing import Union
from dataclasses import dataclass

import numpy as np

from . import _core
from ._checks import position
from .fuels import DATA
from .oxidizers import AIR

CORE_LOCK = threading.RLock()
PIECE = 1 << 14  # states per batch call: a step of the progress bar
MESSAGE_IDS = np.array(_core.MESSAGE_IDS)
# The columns of the core's groups that the results keep: AVM R H U DHT DUT of its 13
# properties, S CPF GAMS AF AE of its 9 entropy and sound values.
PROP_KEPT = [0, 1, 2, 3, 5, 6]
SOUND_KEPT = [0, 4, 6, 7, 8]
STOPPED = -1  # the end of a state that a terminal message stopped (errors="nan")

_tables = {"path": None, "masses": None}


def use_tables(path: Union[str, Path, None] = None) -> None:
    """Loads the property tables from a GPROP.DAT-format file (default: the shipped one)
    for every later call; a sweep running in another thread finishes on the tables it
    started with. OSError with the solvers' input/output report if it cannot.

    >>> use_tables("no/such/GPROP.DAT")
    Traceback (most recent call last):
    OSError: run-time error F2001: ...
    >>> use_tables()
    """
    path = str(DATA / "GPROP.DAT" if path is None else path)
    with CORE_LOCK:
        _core.load_tables(path)
        _tables["path"] = path
        _tables["masses"] = np.array(_core.species_masses())


def species_masses():
    """The species' molar masses (kg/kmol) of the tables in use."""
    with CORE_LOCK:
        if _tables["path"] is None:
            use_tables()
        return _tables["masses"]


def explanation(msg_id):
    """The explanation of a message id in ERROR.TXT, as one paragraph."""
    text = (DATA / "ERROR.TXT").read_text()
    m = re.search(rf"^{msg_id}  (.*?)(?=^\S|\Z)", text, re.M | re.S)
    if not m:
        return msg_id
    kind, _, body = m.group(1).partition("\n")
    return f"{msg_id}, {kind.strip()}: {' '.join(body.split())}"


def message_code(msg_id):
    found = np.flatnonzero(MESSAGE_IDS == msg_id.strip())
    return found[0] if found.size else len(MESSAGE_IDS) - 1


class _Progress:
    """A tqdm bar over a sweep. progress None: only on a terminal, once the sweep has run a
    second; True: always (tqdm needed); False: never."""

    def __init__(self, progress, total, what):
        self.bar = None
        if progress is None:
            if total <= PIECE or not getattr(sys.stderr, "isatty", lambda: False)():
                return
            try:
                from tqdm import tqdm
            except ImportError:
                return
            self.bar = tqdm(total=total, desc=what, unit="state", delay=1.0, leave=False)
        elif progress:
            try:
                from tqdm import tqdm
            except ImportError:
                raise ImportError("progress=True needs tqdm (Debian: python3-tqdm; pip: tqdm)") from None
            self.bar = tqdm(total=total, desc=what, unit="state", leave=False)

    def update(self, n):
        if self.bar is not None:
            self.bar.update(n)

    def close(self):
        if self.bar is not None:
            self.bar.close()


@dataclass
class Raw:
    """The blocks of a sweep's results, one row per state: X (n x 13: X(1..12) and the
    fuel per product), props (AVM R H U DHT DUT), sound (S CPF GAMS AF AE), codes (the
    message's code), and where the kind has them TP (final T, P), ends, dX (DXT, DXP,
    DXF: n x 36) and extra (a process's own numbers)."""

    X: np.ndarray
    props: np.ndarray
    sound: np.ndarray
    codes: np.ndarray
    TP: np.ndarray = None
    ends: np.ndarray = None
    dX: np.ndarray = None
    extra: np.ndarray = None

    @classmethod
    def empty(cls, n, TP, ends, derivatives, extra):
        e = np.empty
        return cls(e((n, 13)), e((n, len(PROP_KEPT))), e((n, len(SOUND_KEPT))), np.zeros(n, np.uint8),
                   e((n, 2)) if TP else None, np.zeros(n, np.int8) if ends else None,
                   e((n, 36)) if derivatives else None, e((n, extra)) if extra else None)

    def blocks(self):
        return {k: v for k, v in vars(self).items() if v is not None}

    def stop(self, i, terminal):
        """State i, stopped by the terminal message: NaN with that message."""
        for k, v in self.blocks().items():
            if v.dtype == float:
                v[i] = np.nan
        self.codes[i] = message_code(terminal)
        if self.ends is not None:
            self.ends[i] = STOPPED

    def spread(self, ok, unsolved_end):
        """The rows back at the states ok of the full length, NaN (code blank, end
        unsolved_end) at the others."""
        full = {}
        for k, v in self.blocks().items():
            b = np.full((ok.size,) + v.shape[1:], np.nan) if v.dtype == float else \
                np.full(ok.size, unsolved_end if k == "ends" else 0, v.dtype)
            b[ok] = v
            full[k] = b
        return Raw(**full)


def run(call, columns, names, shape, what, *, oxidizer=AIR, final=False, derivatives=True, errors="raise",
        progress=None, extra=0, where=None):
    """Runs call(columns piece, out, extra piece, fresh) -> (stopped_at, terminal id) over
    the flat columns (n values or rows each) and returns the Raw results. names: the
    columns' names for an error message (None: not shown); shape: the caller's shape, for
    the position of a failing state; where: the flat positions of the columns' states in
    that shape when they are a selection. final: the kind has a final T, P and an end
    (flames, processes); extra:
    columns of the kind's own numbers. errors "raise": a terminal message raises
    ValueError naming the state; "nan": that state is NaN with its message id and the
    sweep goes on, with a fresh run state as a new run of a program would have."""
    n = len(columns[0])
    raw = Raw.empty(n, final, final, derivatives, extra)
    m = min(n, PIECE)
    prop, sound = np.empty((m, 13)), np.empty((m, 9))
    TP, ends = None if final else np.empty((m, 2)), np.empty(m, np.intc)
    with CORE_LOCK:
        if _tables["path"] is None:
            use_tables()
        _core.set_oxidizer(oxidizer.N2, oxidizer.Ar, oxidizer.CO2, oxidizer.H2O)
        bar = _Progress(progress, n, what)
        try:
            pos, fresh = 0, True
            while pos < n:
                end = min(pos + PIECE, n)
                k = end - pos
                out = (raw.X[pos:end], prop[:k], None if raw.dX is None else raw.dX[pos:end],
                       raw.TP[pos:end] if final else TP[:k], raw.codes[pos:end], ends[:k], sound[:k])
                stopped, terminal = call([c[pos:end] for c in columns], out,
                                         None if raw.extra is None else raw.extra[pos:end], fresh)
                done = k if stopped < 0 else stopped
                raw.props[pos:pos + done] = prop[:done, PROP_KEPT]
                raw.sound[pos:pos + done] = sound[:done, SOUND_KEPT]
                if raw.ends is not None:
                    raw.ends[pos:pos + done] = ends[:done]
                fresh = stopped >= 0
                if fresh:
                    i = pos + stopped
                    if errors == "raise":
                        raise ValueError(_stopped_message(i, terminal, columns, names, shape, where))
                    raw.stop(i, terminal)
                    done += 1
                pos += done
                bar.update(done)
        finally:
            _core.set_oxidizer(AIR.N2, AIR.Ar, AIR.CO2, AIR.H2O)
            bar.close()
    return raw


def _stopped_message(i, terminal, columns, names, shape, where):
    at = position(i if where is None else where[i], shape)
    values = ", ".join(f"{k}={c[i]:g}" for k, c in zip(names, columns) if k is not None)
    return f"state {at} ({values}): {explanation(terminal.strip())}"
