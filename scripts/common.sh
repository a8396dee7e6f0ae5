# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/play and scripts/test: installs the Debian packages that are
# missing and builds the game in build/. Sourced, not run.

KESTRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KESTRUNE_BUILD="$KESTRUNE_ROOT/build"

# What building the game needs: compiler and CMake, freeglut, GLU and GL,
# Boost.Regex for the console, inih (found through pkg-config) for the
# settings file, libsndfile for the sound files, OpenAL Soft to play them,
# ALSA's library, whose own complaints the game quiets, ENet for network play
# and zlib to compress a whole battlefield sent over it.
PLAY_PACKAGES=(build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev
               libboost-regex-dev libinih-dev libsndfile1-dev libopenal-dev libasound2-dev
               libenet-dev zlib1g-dev)
# What the tests and benchmarks add: GoogleTest and Google Benchmark, a virtual
# X server, Xlib to read the game's window and xdotool to drive it, ImageMagick for its screenshots,
# stress-ng to load the cores beside them, the checkers of the install, and
# clang with its runtime for the replay reader's libFuzzer target.
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev libx11-dev
               xvfb xauth xdotool imagemagick x11-xserver-utils stress-ng
               desktop-file-utils appstream groff-base man-db dpkg-dev lintian file
               clang libclang-rt-14-dev)

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

# Configures and builds everything, tests and benchmarks included, in the
# given folder; extra arguments go to the configure step.
build_kestrune() {
    local directory=$1
    shift
    cmake -S "$KESTRUNE_ROOT" -B "$directory" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON "$@"
    cmake --build "$directory" -j "$(nproc)"
}

# Builds what playing needs, the game and its data, in the given folder. A new
# folder is configured without the tests, so that a player waits for the game
# alone; a folder the tests already use keeps its settings.
build_game() {
    local directory=$1
    if [ ! -f "$directory/CMakeCache.txt" ]; then
        cmake -S "$KESTRUNE_ROOT" -B "$directory" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
    fi
    cmake --build "$directory" -j "$(nproc)" --target kestrune
}
