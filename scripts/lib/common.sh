# Shared settings of the entry points: folders, messages, running as root.
# Sourced by scripts/run and scripts/test; expects `set -euo pipefail`.

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The build folders can be moved for experiments; the defaults are the real ones.
BUILD_NATIVE="${MORVANE_BUILD_NATIVE:-$REPO_ROOT/build-native}"
BUILD_WIN="${MORVANE_BUILD_WIN:-$REPO_ROOT/build-win}"
OUT_DIR="${MORVANE_OUT:-$REPO_ROOT/out}"

say() { printf '==> %s\n' "$*" >&2; }
warn() { printf 'warning: %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Runs a command as root: directly when we are root, otherwise through sudo.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    die "root rights are needed for: $* (run as root or install sudo)"
  fi
}
