"""Runs the example notebooks, each in a fresh kernel of this interpreter, and fails
naming the notebook and cell of any error; first checks that every notebook is stored
stripped (no outputs, no execution counts) for the python3 kernel.

  PYTHONPATH=build/python /usr/bin/python3 tests/python/run_notebooks.py [notebook.ipynb ...]

Each notebook runs in a temporary directory, so nothing it writes lands in the tree.
"""
import json
import os
import re
import sys
import tempfile
import time
from pathlib import Path

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"
CELL_TIMEOUT = 120  # s


def notebooks():
    return sorted(EXAMPLES.glob("*.ipynb"))


def unstripped(path):
    """What keeps the notebook at path from being stored as it should: a kernel other
    than python3, and each code cell with outputs or an execution count."""
    nb = json.loads(Path(path).read_text())
    faults = []
    kernel = nb.get("metadata", {}).get("kernelspec", {}).get("name")
    if kernel != "python3":
        faults.append(f"kernel {kernel!r}, not 'python3'")
    for index, cell in enumerate(nb["cells"]):
        if cell["cell_type"] == "code" and (cell.get("outputs") or cell.get("execution_count") is not None):
            faults.append(f"cell {index} holds outputs or an execution count")
    return faults


def _kernel_manager(kernel_dir):
    """A manager whose "python3" kernel is this interpreter: the installed kernel of that
    name runs whichever python3 comes first on PATH, which may lack numpy or the package."""
    from jupyter_client.kernelspec import KernelSpecManager
    from jupyter_client.manager import AsyncKernelManager

    kernel = Path(kernel_dir) / "python3"
    kernel.mkdir(exist_ok=True)
    (kernel / "kernel.json").write_text(json.dumps({
        "argv": [sys.executable, "-m", "ipykernel_launcher", "-f", "{connection_file}"],
        "display_name": "Python 3", "language": "python"}))
    ours_only = KernelSpecManager(kernel_dirs=[str(kernel_dir)], ensure_native_kernel=False)
    return AsyncKernelManager(kernel_name="python3", kernel_spec_manager=ours_only)


def run(path, kernel_dir):
    """Executes the notebook at path; None, or what failed and in which cell."""
    import nbformat
    from nbclient import NotebookClient

    nb = nbformat.read(path, as_version=4)
    current = {"index": None}
    with tempfile.TemporaryDirectory(prefix="notebook-") as workdir:
        client = NotebookClient(nb, km=_kernel_manager(kernel_dir), timeout=CELL_TIMEOUT, kernel_name="python3",
                                shutdown_kernel="immediate",
                                resources={"metadata": {"path": workdir}},
                                on_cell_start=lambda cell, cell_index: current.update(index=cell_index))
        try:
            client.execute(cleanup_kc=True)  # the kernel ends with its notebook
        except Exception as e:  # an error in a cell, a timeout, a kernel that died or never started
            if current["index"] is None:
                return f"starting the kernel: {type(e).__name__}: {e}"
            cell = nb.cells[current["index"]]
            raised = [line for out in cell.get("outputs", []) if out.output_type == "error" for line in out.traceback]
            detail = "\n".join(raised) if raised else f"{type(e).__name__}: {e}"
            return f"cell {current['index']}:\n{_indent(cell.source)}\n{_plain(detail)}"
    return None


def _indent(text):
    return "\n".join("    " + line for line in text.splitlines())


def _plain(text):
    """The traceback without its terminal colours."""
    return re.sub(r"\x1b\[[0-9;]*m", "", text).strip()


def main(argv):
    # The kernel's debugger, also loaded here when the kernel is looked up, would print a note on
    # frozen modules for every process; it does not concern running the cells.
    os.environ.setdefault("PYDEVD_DISABLE_FILE_VALIDATION", "1")
    paths = [Path(a) for a in argv] or notebooks()
    if not paths:
        print(f"no notebooks in {EXAMPLES}")
        return 1
    failed = 0
    for path in paths:
        for fault in unstripped(path):
            print(f"NOT STRIPPED {path.name}: {fault}")
            failed += 1
    if failed:
        return 1
    with tempfile.TemporaryDirectory(prefix="kernels-") as kernel_dir:
        for path in paths:
            start = time.monotonic()
            error = run(path, kernel_dir)
            if error:
                print(f"FAILED {path.name}, {error}")
                failed += 1
            else:
                print(f"ok {path.name} ({time.monotonic() - start:.1f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
