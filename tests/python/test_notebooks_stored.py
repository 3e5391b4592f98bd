"""The example notebooks are kept stripped for the python3 kernel (run_notebooks.py runs
them), and the check of that sees outputs, execution counts and another kernel."""
import json

from run_notebooks import notebooks, unstripped


def test_example_notebooks_are_stored_stripped():
    assert len(notebooks()) >= 6
    faults = {path.name: unstripped(path) for path in notebooks()}
    assert not any(faults.values()), faults


def test_the_check_names_each_fault(tmp_path):
    clean = {"cell_type": "code", "source": "1", "metadata": {}, "outputs": [], "execution_count": None}
    cells = [clean, dict(clean, execution_count=4), {"cell_type": "markdown", "source": "", "metadata": {}},
             dict(clean, outputs=[{"output_type": "stream", "name": "stdout", "text": "1"}])]
    path = tmp_path / "dirty.ipynb"
    path.write_text(json.dumps({"cells": cells, "metadata": {"kernelspec": {"name": "python2"}},
                                "nbformat": 4, "nbformat_minor": 5}))
    assert unstripped(path) == ["kernel 'python2', not 'python3'", "cell 1 holds outputs or an execution count",
                                "cell 3 holds outputs or an execution count"]
