# Shared by scripts/play and scripts/test: installs the Debian packages that are
# missing and builds the game in build/. Sourced, not run.

KESTRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KESTRUNE_BUILD="$KESTRUNE_ROOT/build"

BUILD_PACKAGES=(build-essential cmake freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev
                libboost-regex-dev googletest libgtest-dev libbenchmark-dev)
TEST_PACKAGES=(xvfb xauth xdotool imagemagick x11-xserver-utils
               desktop-file-utils appstream groff-base man-db dpkg-dev)

# Installs the named packages that dpkg does not know as installed: apt-get,
# through sudo when not root, never asking a question.
install_missing() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "kestrune: no apt-get here; please install: ${missing[*]}" >&2
        return 1
    fi
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# Configures (once) and builds everything in build/; extra arguments go to the
# configure step.
build_kestrune() {
    local directory=$1
    shift
    cmake -S "$KESTRUNE_ROOT" -B "$directory" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$directory" -j "$(nproc)"
}
