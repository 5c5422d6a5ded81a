# Shared by scripts/quillex and scripts/test: installing what is missing and building.
# Sourced, not run.

QUILLEX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the program needs to build and run, and those the tests need too.
QUILLEX_RUN_PACKAGES="cmake g++ pkg-config qt6-base-dev libopenal-dev libsndfile1-dev libfftw3-dev librubberband-dev fonts-liberation googletest libgtest-dev libbenchmark-dev"
QUILLEX_TEST_PACKAGES="python3 xvfb xauth xdotool imagemagick clang libclang-rt-14-dev lame sox locales"

quillex_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# A locale whose decimal separator is a comma, for the test that reads and writes
# under it: generated once, when `locale -a` does not list it yet.
quillex_generate_comma_locale() {
    if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
        return 0
    fi
    echo "Generating the locale de_DE.UTF-8"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    # Listed in locale.gen too, so that a later locale-gen (as on an upgrade of the
    # locales package) keeps it.
    if [ -f /etc/locale.gen ]; then
        $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    fi
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# quillex_configure DIR [cmake options...]: configures DIR once (Ninja when installed).
quillex_configure() {
    local dir="$1"
    shift
    local generator=()
    if command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$QUILLEX_ROOT" -B "$dir" "${generator[@]}" "$@" >/dev/null
    fi
}

# quillex_build DIR [cmake options...]: configures DIR once, then builds it.
quillex_build() {
    quillex_configure "$@"
    cmake --build "$1" --parallel "$(nproc)"
}

# quillex_build_targets DIR TARGET... -- [cmake options...]: configures DIR once, then
# builds only the named targets.
quillex_build_targets() {
    local dir="$1"
    shift
    local targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        targets+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift
    quillex_configure "$dir" "$@"
    cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"
}
