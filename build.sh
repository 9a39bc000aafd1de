#!/usr/bin/env bash
# Sets up a Debian 12 or 13 machine for Scriblet, builds it, and starts it, runs its tests or measures it.
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
#   ./build.sh test-light   install what is missing, build with warnings as errors, run the tests
#                     that need no compositor, printing system or screen reader: offscreen,
#                     under openbox on Xvfb, and the package
#   ./build.sh test-debian13   make (or reuse, for a week) a Debian 13 root outside the clone and
#                     run ./build.sh test inside it, on a copy of this working tree (needs root
#                     or sudo: the root is made with mmdebstrap and entered with chroot)
#   ./build.sh ci-debian13     test-light in a smaller Debian 13 root of its own (the build
#                     packages, Xvfb and openbox); .ci/run runs it after ./build.sh test
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
    at-spi2-core python3-pyatspi x11-utils xdotool wmctrl cups-daemon cups-client poppler-utils dpkg-dev file desktop-file-utils lintian appstream)
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

# Debian 13 roots live outside the clone, so a fresh checkout reuses them.
roots=${SCRIBLET_ROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/scriblet-roots}
# What test-light needs besides the build packages: Xvfb with openbox and the tools
# its X11 tests drive them with (xdg-utils: the desktop's tel: handler), and what the
# package test runs.
light_test_packages=(xvfb openbox x11-utils xdotool wmctrl xdg-utils dbus dpkg-dev file desktop-file-utils lintian appstream)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The archive this machine's own package sources name, by its last path element:
# debian, or debian-security.
debian_archive() { # debian|debian-security
    local uri
    uri=$(sed -n "s|^URIs:[[:space:]]*\\([^[:space:]]*/$1\\)/\\{0,1\\}[[:space:]]*\$|\\1|p" \
        /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1)
    [ -n "$uri" ] || uri=$(awk -v want="/$1" '$1 == "deb" { u = $2; sub(/\/$/, "", u)
        if (substr(u, length(u) - length(want) + 1) == want) { print u; exit } }' /etc/apt/sources.list 2>/dev/null)
    echo "${uri:-http://deb.debian.org/$1}"
}

# One run at a time in a root: two clones would share its copy of the tree.
lock_root() { # name
    mkdir -p "$roots"
    exec 9>>"$roots/$1.lock"
    flock -n 9 || { echo "Waiting for another run in $roots/$1 to end..."; flock 9; }
}

# A Debian 13 root with the given packages, made anew when it is older than a week
# or was never finished (the stamp is written last).
make_debian13_root() { # name package...
    local root=$roots/$1
    shift
    if [ -f "$root/.scriblet-root-made" ] && [ -z "$(find "$root/.scriblet-root-made" -mtime +6)" ]; then
        return 0
    fi
    install_missing mmdebstrap
    # Nothing stays mounted in a root (see in_debian13_root), so removing it removes only its own files.
    as_root rm -rf --one-file-system "$root"
    local archive security
    archive=$(debian_archive debian)
    security=$(debian_archive debian-security)
    as_root mmdebstrap --variant=apt --include="$(IFS=,; echo "$*")" trixie "$root" \
        "deb $archive trixie main" "deb $archive trixie-updates main" "deb $security trixie-security main"
    as_root touch "$root/.scriblet-root-made"
}

# Runs ./build.sh with the given arguments inside a root, on a copy of this working
# tree (its build folders are kept there between runs). The mounts and every
# process started inside live in namespaces of their own and end with the run.
# The root shares the host's network, so apt-get works inside; its X servers pick
# free display numbers themselves (Xvfb with -displayfd, the compositors alike).
in_debian13_root() { # name build.sh-argument...
    local root=$roots/$1 stage=$roots/$1.stage copy=/src/scriblet
    shift
    install_missing rsync
    rm -rf "$stage"
    mkdir -p "$stage"
    # The tracked and new files of the working tree as they are now, without those deleted.
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ ! -e "$file" ] || printf '%s\0' "$file"; done |
        tar -c --null -T - | tar -x -C "$stage"
    # Only files whose content changed are written, and with the time of the copy:
    # the kept build folders then rebuild what changed, however old its own time is.
    as_root mkdir -p "$root$copy"
    as_root rsync -r -c -p --delete --exclude='/build' --exclude='/build-*' "$stage/" "$root$copy/"
    rm -rf "$stage"
    as_root cp -L --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"
    as_root unshare --mount --pid --fork --kill-child --propagation private sh -c '
        root=$1; shift
        mount --rbind /dev "$root/dev" && mount -t proc proc "$root/proc" && mount --rbind /sys "$root/sys" &&
        mount -t tmpfs tmpfs "$root/tmp" || exit 1
        exec chroot "$root" "$@"' sh "$root" \
        env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        CI="${CI:-}" sh -c 'cd "$1" && shift && ./build.sh "$@"' sh "$copy" "$@"
}

# libFuzzer's runtime is packaged apart from clang, in the libclang-rt
# package of clang's own LLVM version (Debian 12: libclang-rt-14-dev; Debian 13: libclang-rt-19-dev).
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
test-light)
    install_missing "${packages[@]}" "${light_test_packages[@]}"
    build build-test -DCMAKE_BUILD_TYPE=Debug -DSCRIBLET_WERROR=ON -DSCRIBLET_BENCH=ON
    run_tests build-test -LE 'desktops|cups' -E '_(xfwm4|mutter|kwin|sway)$|^test_screen_reader_x11$'
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
test-debian13)
    lock_root debian13
    make_debian13_root debian13 "${packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}"
    in_debian13_root debian13 test
    ;;
ci-debian13)
    lock_root debian13-ci
    make_debian13_root debian13-ci "${packages[@]}" "${light_test_packages[@]}"
    in_debian13_root debian13-ci test-light
    ;;
bench)
    install_missing "${packages[@]}" "${bench_packages[@]}"
    build build-bench -DCMAKE_BUILD_TYPE=Release -DSCRIBLET_BUILD_TESTS=OFF -DSCRIBLET_BENCH=ON
    run_bench build-bench
    ;;
*)
    echo "usage: $0 run|test|test-light|test-desktops|test-debian13|ci-debian13|fuzz [seconds]|bench" >&2
    exit 2
    ;;
esac
