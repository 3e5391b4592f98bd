"""The Python package for pip: combustion_suite with its extension _core (python/binding.cpp
over the solver core, compiled as the CMake release build compiles it), the version of
project() in CMakeLists.txt and the data the package reads. The metadata is in
pyproject.toml."""
import re
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup
from setuptools.command.build_py import build_py

DATA = ("GPROP.DAT", "FUELS.DAT", "ERROR.TXT")


def _version():
    m = re.search(r"^project\([^)]*\bVERSION\s+([0-9.]+)", Path("CMakeLists.txt").read_text(), re.M)
    if not m:
        raise RuntimeError("CMakeLists.txt: no VERSION in project()")
    return m.group(1)


def _write_version(version):
    text = Path("python/_version.py.in").read_text().replace("@PROJECT_VERSION@", version)
    target = Path("python/combustion_suite/_version.py")
    if not target.exists() or target.read_text() != text:
        target.write_text(text)


class BuildWithData(build_py):
    """Also copies data/GPROP.DAT, FUELS.DAT and ERROR.TXT into the package's data/, where
    CMake's build puts them too."""

    def run(self):
        super().run()
        target = Path(self.build_lib, "combustion_suite", "data")
        self.mkpath(str(target))
        for name in DATA:
            self.copy_file(str(Path("data", name)), str(target / name))


VERSION = _version()
_write_version(VERSION)
ParallelCompile("SUITE_BUILD_JOBS").install()  # the core's files compiled side by side

# The core's sources as core/CMakeLists.txt takes them (every core/*.cpp); C++20, -O3 and
# NDEBUG as the release build (Python's own flags already carry -DNDEBUG).
core = Pybind11Extension(
    "combustion_suite._core",
    ["python/binding.cpp", *sorted(str(p) for p in Path("core").glob("*.cpp"))],
    include_dirs=["core"],
    depends=sorted(str(p) for p in Path("core").glob("*.h")),  # a changed header rebuilds it
    cxx_std=20,
    extra_compile_args=["-O3", "-Wall", "-Wextra"],
)

setup(
    version=VERSION,
    packages=["combustion_suite"],
    package_dir={"": "python"},
    package_data={"combustion_suite": ["py.typed"]},
    ext_modules=[core],
    cmdclass={"build_ext": build_ext, "build_py": BuildWithData},
    # Not build/, which is the CMake release tree.
    options={"build": {"build_base": "build-py"}},
)
