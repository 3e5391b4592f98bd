"""Shared pieces of the Python module's tests: where the data and the programs are, a
run of a program on an input text, and the numbers of a report with their precision."""
import os
import re
import shutil
import subprocess
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
DATA = ROOT / "data"
# Independent reference results: the project's copy (in step with the shared folder it
# came from, as a core test checks).
REFERENCE = ROOT / "tests" / "reference" / "cea_sample.json"

# The programs as the build made them (set by CTest); a missing one skips its tests.
PROGRAMS = {kind: os.environ.get(f"SUITE_PROGRAM_{kind.upper()}", "") for kind in ("tp", "uv", "hp")}


def run_program(kind, input_text, directory):
    """Runs the program of kind on the input text in directory; the report's text."""
    exe = PROGRAMS[kind]
    if not exe or not Path(exe).exists():
        pytest.skip(f"no {kind} program built")
    shutil.copy(DATA / "GPROP.DAT", directory / "GPROP.DAT")
    (directory / f"INPUT.{kind.upper()}").write_bytes(input_text.encode() if isinstance(input_text, str)
                                                      else input_text)
    done = subprocess.run([exe], cwd=directory, capture_output=True, check=True)
    assert done.stderr == b""
    return (directory / f"OUTPUT.{kind.upper()}").read_text().replace("\r\n", "\n")


def input_values(text, kind):
    """The values of an input file: the first token of each line after the titles."""
    lines = text.replace("\r\n", "\n").split("\n")
    titles = 1 if kind == "tp" else 3
    return [float(ln.split()[0]) for ln in lines[titles:] if ln.strip()]


_NUMBER = re.compile(r"(-?)(\d*)\.(\d+)(?:E([+-]\d+))?$")
_LABELS = (("Flame Temperature", "T"), ("Pressure [Pa]", "P"), ("Mixture Enthalpy", "h"), ("Cp/Cv", "cp_cv"),
           ("Cp [J/kg-K]", "cp"), ("Molecular Weight", "M"), ("Moles of Fuel", "fuel_per_product"))
_COLUMN = ("h", "cp", "cp_cv", "M", "fuel_per_product") + tuple(
    f"X.{s}" for s in ("H", "O", "N", "H2", "OH", "CO", "NO", "O2", "H2O", "CO2", "N2"))


def printed(text):
    """A printed number and half a unit of its last digit."""
    m = _NUMBER.match(text)
    assert m, f"not a printed number: {text!r}"
    return float(text), 0.5 * 10.0 ** (int(m.group(4) or 0) - len(m.group(3)))


def report_numbers(report):
    """Every result of a report as (quantity, value, half unit of the last digit): the
    labelled lines, the mole fractions and the column for copying."""
    section = report[report.index("PROPERTIES"):]
    out = []
    for line in section.split("\n"):
        if "=" in line:
            label, value = line.rsplit("=", 1)
            name = next(n for key, n in _LABELS if key in label)
            out.append((name, *printed(value.strip())))
    for species, value in re.findall(r"([A-Z][A-Z0-9]*): +(-?\d*\.\d+)", section.split("mole fractions")[1].split("Above")[0]):
        out.append((f"X.{species}", *printed(value)))
    column = section.split("cut & paste:")[1].split()
    names = (("T", "P") if "Flame" in section else ()) + _COLUMN
    assert len(column) == len(names)
    out += [(n, *printed(v)) for n, v in zip(names, column)]
    return out


def value_of(result, name):
    if name.startswith("X."):
        return result.X[name[2:]]
    return getattr(result, name)


def assert_equals_report(result, report):
    """Every number of the report is the result's value printed to its digits."""
    numbers = report_numbers(report)
    assert len(numbers) >= 32
    for name, value, half in numbers:
        ours = value_of(result, name)
        assert abs(ours - value) <= half * (1 + 1e-9), f"{name}: {ours!r} prints as {value}"
