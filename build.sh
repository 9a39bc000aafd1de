#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine for Scriblet, builds it, and starts it, runs its tests or measures it.
#   ./build.sh run    install what is missing, build, start Scriblet (extra arguments go to Scriblet)
#   ./build.sh test   install what is missing, build with warnings as errors, run the test suite,
#                     then build and run it again under AddressSanitizer and UndefinedBehaviorSanitizer,
#                     then build the fuzz targets with clang and run each for 30 seconds
#   ./build.sh fuzz [seconds]   install what is missing, build the fuzz targets and run each for
#                     the given time (600 seconds unless told), growing a corpus kept in build-fuzz
#   ./build.sh test-desktops   install what is missing, build, run the tests with a real X server
#                     and window manager: under openbox, xfwm4 and mutter as test does, and again
#                     under KDE's KWin and sway (installing those takes about 2 GB and a few minutes)
#   ./build.sh bench  install what is missing, build in Release, measure Scriblet against bare Qt
#                     windows with its widgets (one with a 100 ms timer, one without) under Xvfb,
#                     without and with a session bus, and time the note routines; prints tables of
#                     figures and goals
set -euo pipefail
start_directory=$PWD
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libx11-dev libxtst-dev libcups2-dev libxkbcommon-dev fonts-dejavu-core)
# The tests that need a real X server and window manager, or a printing
# system, start their own: openbox and Xfce's xfwm4 on Xvfb, GNOME's mutter with
# Xwayland (and Qt's Wayland plugin and a real calculator, as on such a desktop).
# The screen-reader test reads the program through AT-SPI with Debian's python3.
# The package test runs cpack, which needs dpkg-shlibdeps and file.
test_packages=(xvfb openbox xfwm4 mutter xwayland dbus qt6-wayland gnome-calculator xdg-utils
    at-spi2-core python3-pyatspi x11-utils xdotool wmctrl cups-daemon cups-client poppler-utils dpkg-dev file desktop-file-utils lintian)
desktop_packages=(kwin-wayland sway x11-xserver-utils)
bench_packages=(xvfb xauth dbus at-spi2-core)
fuzz_packages=(cmake make qt6-base-dev clang)
fuzz_targets=(fuzz_private_profile fuzz_numeric_text fuzz_text_encoding fuzz_print_layout)

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

# Status of a bench program that measured everything but saw goals missed.
goals_missed=3

run_bench() { # build-directory
    local dir=$PWD/$1 status=0 missed=0
    local scratch=$dir/bench-scratch
    rm -rf "$scratch"
    mkdir -p "$scratch/disk" "$scratch/home" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    local process_bench=("$dir/bench/process_bench" "$dir/src/scriblet" "$dir/bench/bare_window")
    # Without a session bus, and as a desktop session has it: a session bus
    # with the accessibility bus started on it.
    xvfb-run -a -s "-screen 0 1280x1024x24" env -u DBUS_SESSION_BUS_ADDRESS \
        "${process_bench[@]}" --label "no session bus" --scratch "$scratch/process-alone" || status=$?
    ((status == 0 || status == goals_missed)) || return "$status"
    ((status == 0)) || missed=1
    status=0
    xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- sh -c \
        '/usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!; "$@"; status=$?; kill $launcher; exit $status' \
        sh "${process_bench[@]}" --label "session and accessibility buses" --scratch "$scratch/process-bus" ||
        status=$?
    ((status == 0 || status == goals_missed)) || return "$status"
    ((status == 0)) || missed=1
    status=0
    env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" XDG_DATA_HOME="$scratch/home/.local/share" \
        XDG_STATE_HOME="$scratch/home/.local/state" XDG_CACHE_HOME="$scratch/home/.cache" \
        XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
        "$dir/bench/note_operations_bench" --iterations 101 --disk-dir "$scratch/disk" --memory-dir /dev/shm ||
        status=$?
    ((status == 0 || status == goals_missed)) || return "$status"
    ((status == 0)) || missed=1
    rm -rf "$scratch"
    echo
    if ((missed)); then
        echo "Benchmark done: SOME GOALS WERE MISSED (marked MISSED above)."
    else
        echo "Benchmark done: every goal met."
    fi
}

# libFuzzer's runtime is packaged apart from clang, in the libclang-rt
# package of clang's own LLVM version (Debian 12: libclang-rt-14-dev).
install_fuzz_tools() {
    install_missing "${fuzz_packages[@]}"
    install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
}

build_fuzz_targets() {
    CC=clang CXX=clang++ build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIBLET_WERROR=ON -DSCRIBLET_FUZZ=ON
}

# Each target starts from a copy of its seed corpus, so fuzz/corpus only
# ever changes by hand. A failed property or a sanitizer finding stops the
# run; the input that caused it is left in build-fuzz/crashes.
run_fuzz_targets() { # seconds corpus-directory
    local seconds=$1 corpora=$2 target dictionary
    mkdir -p build-fuzz/crashes
    for target in "${fuzz_targets[@]}"; do
        mkdir -p "$corpora/$target"
        cp fuzz/corpus/"$target"/* "$corpora/$target/"
        dictionary=()
        [ ! -f fuzz/"$target".dict ] || dictionary=(-dict=fuzz/"$target".dict)
        echo "== $target: $seconds seconds"
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
            -artifact_prefix=build-fuzz/crashes/"$target"- "${dictionary[@]}" "$corpora/$target" 2>&1 |
            sed -E '/^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)/d'
    done
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
    install_missing "${packages[@]}" "${test_packages[@]}" clang
    install_fuzz_tools
    # The benchmark programs are built too (not run), so no change of the platform interface leaves them behind.
    build build-test -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON -DSCRIBLET_BENCH=ON
    run_tests build-test -LE desktops
    build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON -DSCRIBLET_SANITIZE=ON
    # The X server and printing-system tests check the other side, which the first pass covered;
    # a package of a sanitized build is not one anybody installs, and the kill tests
    # time real processes that a sanitizer slows down.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests build-sanitize -LE 'x11|desktops|cups|package|kill'
    build_fuzz_targets
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    run_fuzz_targets 30 "$scratch"
    ;;
test-desktops)
    install_missing "${packages[@]}" "${test_packages[@]}" "${desktop_packages[@]}"
    build build-test -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON -DSCRIBLET_BENCH=ON
    run_tests build-test -L 'x11|desktops'
    ;;
fuzz)
    seconds=${2:-600}
    [[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 fuzz [seconds]" >&2; exit 2; }
    install_fuzz_tools
    build_fuzz_targets
    run_fuzz_targets "$seconds" build-fuzz/corpus
    ;;
bench)
    install_missing "${packages[@]}" "${bench_packages[@]}"
    build build-bench -DCMAKE_BUILD_TYPE=Release -DSCRIBLET_BUILD_TESTS=OFF -DSCRIBLET_BENCH=ON
    run_bench build-bench
    ;;
*)
    echo "usage: $0 run|test|test-desktops|fuzz [seconds]|bench" >&2
    exit 2
    ;;
esac
