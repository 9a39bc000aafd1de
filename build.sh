#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine for Scriblet, builds it, and starts it or runs its tests.
#   ./build.sh run    install what is missing, build, start Scriblet (extra arguments go to Scriblet)
#   ./build.sh test   install what is missing, build with warnings as errors, run the test suite,
#                     then build and run it again under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
start_directory=$PWD
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libx11-dev libxtst-dev fonts-dejavu-core)
# The tests that need a real X server and window manager, or a printing
# system, start their own; the package test runs cpack, which needs dpkg-shlibdeps and file.
test_packages=(xvfb openbox x11-utils xdotool cups-daemon cups-client poppler-utils dpkg-dev file desktop-file-utils)

install_missing() { # package...
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    ((${#missing[@]})) || return 0
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build() { # build-directory cmake-options...
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j"$(nproc)"
}

run_tests() { # build-directory ctest-options...
    local dir=$1
    shift
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@"
}

case "${1:-}" in
run)
    shift
    install_missing "${packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIBLET_BUILD_TESTS=OFF
    program=$PWD/build/src/scriblet
    cd "$start_directory" # a note named on the command line is found from where the command was given
    exec "$program" "$@"
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build build-test -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON
    run_tests build-test
    build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON -DSCRIBLET_SANITIZE=ON
    # The X server and printing-system tests check the other side, which the first pass covered;
    # a package of a sanitized build is not one anybody installs, and the kill tests
    # time real processes that a sanitizer slows down.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests build-sanitize -LE 'x11|cups|package|kill'
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
