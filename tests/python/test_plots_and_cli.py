"""The figures (Agg, without pyplot) show what they say, the PNG files open, and the
command line writes the same input files as write_input and prints the flames of flame."""
import csv
import re
import subprocess
import sys
from pathlib import Path

import matplotlib.image
import numpy as np
import pytest

import combustion_suite as cs


def test_flame_temperature_figure():
    import matplotlib.pyplot as plt
    before = plt.get_fignums()
    phi = np.linspace(0.6, 1.5, 7)
    fig = cs.plot.flame_temperature(["methane", "propane"], phi=phi)
    assert plt.get_fignums() == before  # pyplot's figures untouched
    ax, = fig.axes
    assert ax.get_xlabel() == "Equivalence ratio" and "flame temperature [K]" in ax.get_ylabel()
    labels = [line.get_label() for line in ax.get_lines()]
    assert labels == ["methane, constant pressure", "methane, constant volume",
                      "propane, constant pressure", "propane, constant volume"]
    for line in ax.get_lines():
        x, T = line.get_data()
        assert np.array_equal(x, phi) and np.all((T > 1500) & (T < 3000))
        assert np.argmax(T) in (2, 3)  # the peak just rich of stoichiometric
    const_p, const_v = ax.get_lines()[0].get_ydata(), ax.get_lines()[1].get_ydata()
    assert np.all(const_v > const_p)


def test_composition_figure_and_its_png(tmp_path):
    fig = cs.plot.composition("methane", 1.0, T=np.linspace(1000, 3600, 14), P=101325.0)
    ax, = fig.axes
    assert ax.get_yscale() == "log" and ax.get_xlabel() == "Temperature [K]"
    lines = {line.get_label(): line.get_ydata() for line in ax.get_lines()}
    assert {"H2O", "CO2", "N2", "OH", "NO", "H"} <= set(lines) and "Ar" not in lines
    assert np.all(np.diff(lines["H"]) > 0) and lines["CO2"][-1] < lines["CO2"][0] / 10  # dissociation
    fig.savefig(tmp_path / "composition.png")
    image = matplotlib.image.imread(tmp_path / "composition.png")
    assert image.ndim == 3 and image.shape[0] > 200


def _cli(*args, cwd):
    return subprocess.run([sys.executable, "-m", "combustion_suite", *args], cwd=cwd, capture_output=True,
                          text=True)


def test_command_line(tmp_path):
    done = _cli("input", "uv", "--fuel", "propane", "--phi", "0.8", "--T0", "298.15", "--P0", "101325", cwd=tmp_path)
    assert done.returncode == 0 and "INPUT.UV" in done.stdout
    expected = cs.write_input("uv", "propane", 0.8, tmp_path / "expected", T0=298.15, P0=101325.0)
    assert (tmp_path / "INPUT.UV").read_bytes() == expected.read_bytes()

    done = _cli("plot", "flame-temperature", "--fuel", "methane", "--phi", "0.8,1,1.2", "--at", "volume",
                "--out", "tad.png", cwd=tmp_path)
    assert done.returncode == 0 and "tad.png" in done.stdout
    assert matplotlib.image.imread(tmp_path / "tad.png").shape[2] in (3, 4)

    done = _cli("input", "tp", "--fuel", "kerosene", "--phi", "1", "--T", "2000", "--P", "1e5", cwd=tmp_path)
    assert done.returncode == 1 and "unknown fuel" in done.stderr
    done = _cli("flame", "--fuel", "methane", "--oxidizer", "N2O", cwd=tmp_path)
    assert done.returncode == 1 and "unknown oxidizer" in done.stderr and done.stdout == ""


def test_figures_and_command_line_in_another_oxidizer(tmp_path):
    fig = cs.plot.composition("methane", 1.0, T=np.linspace(1500, 3000, 4), oxidizer="dry air")
    ax, = fig.axes
    assert "dry air" in ax.get_title() and "Ar" in {line.get_label() for line in ax.get_lines()}
    fig = cs.plot.flame_temperature([{"methane": 0.5, "hydrogen": 0.5}], phi=[0.9, 1.1], at="pressure",
                                    oxidizer="air+O2:0.30")
    line, = fig.axes[0].get_lines()
    np.testing.assert_array_equal(line.get_ydata(), cs.flame("CH4:0.5, H2:0.5", [0.9, 1.1], oxidizer=cs.enriched(0.3)).T)
    done = _cli("plot", "flame-temperature", "--fuel", "methane;CH4:0.5,H2:0.5", "--phi", "0.9,1.1", "--at",
                "pressure", "--oxidizer", "air+O2:0.30", "--out", "tad.png", cwd=tmp_path)
    assert done.returncode == 0 and (tmp_path / "tad.png").exists()
    done = _cli("plot", "composition", "--fuel", "methane", "--oxidizer", "N2O", "--out", "x.png", cwd=tmp_path)
    assert done.returncode == 1 and "unknown oxidizer" in done.stderr


@pytest.mark.parametrize("fuel, phi, values, at, oxidizer", [
    ("propane", [0.8, 1.0, 1.2, 3.5], "0.8,1,1.2,3.5", "pressure", "air"),  # 3.5: no first solution
    ("CH4:0.5, H2:0.5", [0.9, 1.0, 1.1], "0.9:1.1:3", "volume", "dry air"),
])
def test_flame_command_table_and_csv(tmp_path, fuel, phi, values, at, oxidizer):
    hot = cs.flame(fuel, phi, at=at, oxidizer=oxidizer)
    args = ("flame", "--fuel", fuel, "--phi", values, "--at", at, "--oxidizer", oxidizer)
    done = _cli(*args, cwd=tmp_path)
    assert done.returncode == 0 and done.stderr == ""
    title, header, *rows = done.stdout.splitlines()
    assert f"{fuel} in {oxidizer}" in title and f"constant {at}" in title
    names = header.split()[5:]  # after phi, T [K], P [Pa]
    assert {"N2", "H2O", "CO2", "NO"} <= set(names) and "N" not in names and len(rows) == len(phi)
    for k, row in enumerate(rows):
        if not hot.solved[k]:
            assert row.split()[0] == f"{phi[k]:g}" and hot.end[k] in row and hot.message[k] in row
            continue
        value = [float(v) for v in row.split()]
        assert value[:3] == pytest.approx([phi[k], hot.T[k], hot.P[k]], abs=0.5)
        assert value[3:] == pytest.approx([hot.X[name][k] for name in names], abs=5e-6)

    table = list(csv.DictReader(_cli(*args, "--csv", cwd=tmp_path).stdout.splitlines()))
    assert list(table[0]) == ["phi", "T", "P", *cs.SPECIES] and len(table) == len(phi)
    for k, row in enumerate(table):  # the same sweep, so the same numbers to the last digit
        np.testing.assert_array_equal([float(row[c]) for c in ("phi", "T", "P", *cs.SPECIES)],
                                      [phi[k], hot.T[k], hot.P[k], *(hot.X[name][k] for name in cs.SPECIES)])


def test_version_is_the_projects():
    cmake = (Path(__file__).parents[2] / "CMakeLists.txt").read_text()
    assert cs.__version__ == re.search(r"project\([^)]* VERSION ([0-9.]+)", cmake).group(1)
    done = _cli("--version", cwd=None)
    assert done.returncode == 0 and done.stdout == f"combustion_suite {cs.__version__}\n"
