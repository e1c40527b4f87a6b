# Shared by scripts/run and scripts/test: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# install_missing_packages [GROUP]: the unmarked packages, plus those marked "GROUP:".
install_missing_packages() {
    local group="${1:-}" wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$ROOT/scripts/packages.txt" | grep -v ':' || true)
    if [ -n "$group" ]; then
        wanted="$wanted $(grep -E "^$group:" "$ROOT/scripts/packages.txt" | sed "s/^$group://")"
    fi
    for pkg in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR [extra cmake args...]
build_tree() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

# build_windows DIR [extra cmake args...]: the Windows cross-build (mingw-w64).
build_windows() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}
