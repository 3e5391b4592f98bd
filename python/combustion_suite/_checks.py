"""Checks of the numbers a caller gives: each argument is a real number or an array of
them, finite, and the error names the argument, its value and, in an array, where.

The core would take a NaN or an infinity for a state and answer with a misleading
message (T=nan "above 4000 K"), or none at all; None, text, dates and masked values have
no meaning for it.
"""
import numpy as np


def position(index, shape):
    """A flat index as the caller sees it: a plain number for 1-D, else a tuple."""
    if len(shape) <= 1:
        return int(index)
    return tuple(int(i) for i in np.unravel_index(index, shape))


def real(name, value, unit=""):
    """value as a float array (no copy when it is one), or TypeError/ValueError naming
    name. unit (" K", " Pa") goes into the message.

    >>> real("T", [300, 400]).dtype
    dtype('float64')
    >>> real("T", float("nan"), " K")
    Traceback (most recent call last):
    ValueError: T must be a finite number of K, not nan
    """
    what = f"a finite number of{unit}" if unit else "a finite number"
    if value is None:
        raise TypeError(f"{name} must be {what} or an array of them, not None")
    if isinstance(value, np.ma.MaskedArray) and np.ma.getmask(value) is not np.ma.nomask and value.mask.any():
        raise ValueError(f"{name} holds masked values: fill them (or leave those states out) first")
    try:
        a = np.asarray(np.ma.getdata(value) if isinstance(value, np.ma.MaskedArray) else value)
    except ValueError:  # a ragged list
        raise TypeError(f"{name} must be {what} or a regular array of them, not {value!r}") from None
    if a.dtype.kind not in "iuf":
        kind = {"b": "booleans", "M": "dates", "m": "time spans", "c": "complex numbers", "U": "text",
                "S": "text", "O": "objects"}.get(a.dtype.kind, a.dtype.name)
        raise TypeError(f"{name} must be {what} or an array of them, not {kind} ({_first(a)!r})")
    a = a.astype(float, copy=False)
    bad = ~np.isfinite(a)
    if bad.any():
        at = "" if a.ndim == 0 else f" (at {position(np.flatnonzero(bad)[0], a.shape)})"
        raise ValueError(f"{name} must be {what}, not {a[bad].ravel()[0]!r}{at}")
    return a


def _first(a):
    v = a.ravel()[0] if a.size else a
    return v.item() if hasattr(v, "item") and a.dtype.kind != "O" else v


def choice(name, value, allowed):
    """value if it is one of allowed, else ValueError naming name and the choices."""
    if not isinstance(value, str) or value not in allowed:
        raise ValueError(f"{name} must be {' or '.join(repr(a) for a in allowed)}, not {value!r}")
    return value
