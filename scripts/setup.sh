# Shared set-up of scripts/run and scripts/test: installs the Debian packages
# that are missing (as root), then configures and builds into build/.
# Sourced, not run.

set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TESK_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-translations-l10n
  libgl1-mesa-dev libgl1-mesa-dri libglu1-mesa-dev
  googletest libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  xvfb xauth fonts-liberation
  python3-segyio
)

install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
      echo "missing packages and not root: run this script as root" >&2
      exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# A developer's machine with ccache reuses earlier compilations.
TESK_CMAKE_ARGS=()
if command -v ccache >/dev/null 2>&1; then
  TESK_CMAKE_ARGS+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

build_tesk() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${TESK_CMAKE_ARGS[@]}" "$@" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}
