#!/usr/bin/env bash
# Checks the Python packages that tools/package.sh left in build-pkg/ the way a user of
# pip meets them, each in a fresh virtual environment over Debian's Python (with its
# site packages, which hold NumPy, setuptools and pybind11; pip offline):
#   - the wheel installed;
#   - the source archive built and installed by pip;
#   - the source tree installed with pip install . (the README's way).
# In each, from a folder outside the tree: the package imports from the environment with
# its data and py.typed, __version__ is the project's, a methane flame at F = 1 and
# constant pressure comes out near 2226 K, and the command line answers --version and
# flame (its table and its CSV, the same flame). Exits non-zero when any check fails.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
bash "$ROOT/tools/install-deps.sh" package || exit 1
PKG=$ROOT/build-pkg
SCRATCH=$PKG/check-python
PYTHON=/usr/bin/python3  # Debian's; another python3 may come first on PATH
version=$(sed -n 's/^project([^)]* VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
PIP=(-m pip install -q --no-index --no-build-isolation --no-cache-dir)

FAILS=0 SEEN=0
fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }
pass() {  # what the checks since the last pass showed, if none of them failed
  [ "$FAILS" -eq "$SEEN" ] && echo "ok    $*"
  SEEN=$FAILS
}

shopt -s nullglob
wheel=("$PKG"/combustion_suite-"$version"-*.whl)
sdist=("$PKG"/combustion[-_]suite-"$version".tar.gz)
[ ${#wheel[@]} -eq 1 ] && [ ${#sdist[@]} -eq 1 ] ||
  { echo "run bash tools/package.sh python first: build-pkg/ needs one wheel and one source archive of $version"; exit 1; }
rm -rf "$SCRATCH" && mkdir -p "$SCRATCH"
ELSEWHERE=$(mktemp -d)
trap 'rm -rf "$ELSEWHERE"' EXIT

# The package as installed into the environment, used from outside the tree.
check_env() {  # label environment
  local label=$1 env=$2 py=$2/bin/python T out
  T=$(cd "$ELSEWHERE" && "$py" - "$env" "$version" <<'EOF'
import sys
from pathlib import Path

import combustion_suite as cs

env, version = sys.argv[1:]
here = Path(cs.__file__).parent
assert here.is_relative_to(env), f"imported from {here}"
assert cs.__version__ == version, f"__version__ {cs.__version__}, the project's {version}"
missing = [n for n in ("data/GPROP.DAT", "data/FUELS.DAT", "data/ERROR.TXT", "py.typed") if not (here / n).is_file()]
assert not missing, f"missing {missing}"
T = cs.flame("methane", 1.0, at="pressure").T
assert abs(T - 2226.0) < 5.0, f"methane flame at {T} K"
print(repr(float(T)))
EOF
  ) || { fail "$label: the package in Python"; return; }
  out=$(cd "$ELSEWHERE" && "$py" -m combustion_suite --version)
  [ "$out" = "combustion_suite $version" ] || fail "$label: --version printed '$out'"
  out=$(cd "$ELSEWHERE" && "$py" -m combustion_suite flame --fuel methane --phi 1 --csv) ||
    fail "$label: flame --csv failed"
  [ "$(sed -n 2p <<<"$out" | cut -d, -f2)" = "$T" ] || fail "$label: flame --csv gave '$out', not T = $T"
  out=$(cd "$ELSEWHERE" && "$py" -m combustion_suite flame --fuel propane --phi 0.8,1 --at volume) ||
    fail "$label: flame failed"
  if ! grep -q "constant volume" <<<"$out" || [ "$(grep -cE '^ +(0\.8|1) +2[0-9]{3}\.[0-9] ' <<<"$out")" -ne 2 ]; then
    fail "$label: flame printed '$out'"
  fi
  pass "$label: imports from the environment, version $version, methane flame at $T K, command line"
}

install_and_check() {  # label name what-to-install: into a new environment over Debian's site packages
  local label=$1 venv=$SCRATCH/$2
  shift 2
  if "$PYTHON" -m venv --system-site-packages "$venv" && "$venv/bin/python" "${PIP[@]}" "$@"; then
    check_env "$label" "$venv"
  else
    fail "$label: did not build and install"
  fi
}

install_and_check "wheel $(basename "${wheel[0]}")" wheel "${wheel[0]}"
install_and_check "source archive $(basename "${sdist[0]}")" sdist "${sdist[0]}"
install_and_check "source tree (pip install .)" tree "$ROOT"

[ "$FAILS" -eq 0 ] && echo "Python packages: all checks passed" || echo "Python packages: $FAILS checks failed"
[ "$FAILS" -eq 0 ]
