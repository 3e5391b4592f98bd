"""The module's numbers are the programs' numbers: each shipped example, and input
files that write_input makes (blends among them), run through the programs and compared
to the printed digits."""
import pytest

import combustion_suite as cs
from combustion_suite.inputs import TITLE_WIDTH, input_text
from conftest import DATA, assert_equals_report, input_values, run_program

EXAMPLES = sorted(p for p in (DATA / "examples").iterdir() if p.suffix in (".tp", ".uv", ".hp"))
AT = {"uv": "volume", "hp": "pressure"}


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda p: p.name)
def test_examples_equal_the_reports(example, tmp_path):
    text = example.read_text()
    kind = example.suffix[1:]
    report = run_program(kind, text, tmp_path)
    v = input_values(text, kind)
    f = cs.fuel(C=v[0], H=v[1], O=v[2], N=v[3], hf=0.0)
    if kind == "tp":
        result = cs.equilibrium(f, v[4], v[5], v[6])
    else:
        result = cs.flame(f, v[4], T0=v[6], P0=v[7], at=AT[kind], T_guess=v[5],
                          charge=cs.Reactants(v[8], v[9], v[10]))
    assert result.solved
    assert_equals_report(result, report)


@pytest.mark.parametrize("kind, fuel, phi, values", [
    ("tp", "n-octane", 0.9, {"T": 2400.0, "P": 5e5}),
    ("uv", "propane", 0.8, {"T0": 298.15, "P0": 101325.0}),
    ("uv", "ethanol", 1.3, {"T0": 600.0, "P0": 2e6}),
    ("hp", "methane", 0.7, {"T0": 500.0, "P0": 101325.0}),
    ("hp", {"methane": 1 / 3, "propane": 2 / 3}, 1.0, {"T0": 400.0, "P0": 101325.0}),
    ("tp", "CH4:0.5, H2:0.5", 0.8, {"T": 2000.0, "P": 1e5}),
])
def test_written_inputs_give_the_modules_numbers(kind, fuel, phi, values, tmp_path):
    path = cs.write_input(kind, fuel, phi, tmp_path / "input", **values)
    report = run_program(kind, path.read_bytes(), tmp_path)
    if kind == "tp":
        result = cs.equilibrium(fuel, phi, values["T"], values["P"])
    else:
        result = cs.flame(fuel, phi, values["T0"], values["P0"], at=AT[kind])
    assert_equals_report(result, report)


def test_a_blend_is_written_with_its_real_atom_numbers_and_titles_that_fit():
    blend = cs.fuel({"methane": 1 / 3, "propane": 2 / 3})
    text = input_text("hp", blend, 1.0, T0=400.0)
    assert all(len(t) <= TITLE_WIDTH for t in text.split("\r\n")[:3])
    assert input_values(text, "hp")[:2] == [blend.C, blend.H] == pytest.approx([7 / 3, 20 / 3], rel=1e-15)
