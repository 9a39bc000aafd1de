#!/usr/bin/env bash
# Makes the Debian package from a build tree, unpacks it and checks what a user would get:
#   check_package.sh CPACK BUILD_DIR SOURCE_DIR VERSION SCRATCH_DIR LINTIAN_OVERRIDES(ON|OFF)
# Then breaks copies of what it checked, one fault at a time, and makes sure each is caught.
set -euo pipefail

cpack=$1 build=$2 source=$3 version=$4 scratch=$5 overrides=$6
arch=$(dpkg --print-architecture)

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    exit 1
fi
shopt -s nullglob
debs=("$scratch"/out/*.deb)
shopt -u nullglob
if [ "${#debs[@]}" -ne 1 ] || [ "$(basename "${debs[0]}")" != "scriblet_${version}_$arch.deb" ]; then
    echo "FAIL: expected only scriblet_${version}_$arch.deb, cpack made: ${debs[*]:-nothing}"
    exit 1
fi
deb=${debs[0]}
dpkg-deb -f "$deb" >"$scratch/control"
dpkg-deb -c "$deb" >"$scratch/listing"
dpkg -x "$deb" "$scratch/root"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

field() { # name control-file: the value, continuation lines as they stand
    awk -v want="$(tr '[:upper:]' '[:lower:]' <<<"$1")" '
        /^[^ \t]/ { i = index($0, ":"); inside = tolower(substr($0, 1, i - 1)) == want
                    if (inside) { v = substr($0, i + 1); sub(/^[ \t]+/, "", v); print v }; next }
        inside' "$2"
}

relation_names() { # the package names in a Depends-like value, one a line
    tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/\[.*\]//; s/:[a-z0-9]+//; s/[[:space:]]//g' | grep -v '^$' || true
}

owner_of() { # library soname the binary loads: the package that provides it here
    local path
    path=$(ldd "$scratch/root/usr/bin/scriblet" | awk -v lib="$1" '$1 == lib { print $3 }')
    # libcups is opened when printing, not linked: where the system's loader would find it.
    [ -n "$path" ] || path=$(ldconfig -p | awk -v lib="$1" '$1 == lib { print $NF; exit }')
    [ -n "$path" ] || return 0
    dpkg-query -S "$(readlink -f "$path")" 2>/dev/null | head -n1 | cut -d: -f1
}

# Resolved before the checks, so a broken copy of the control file is judged against the same packages.
libraries=(libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6 libQt6PrintSupport.so.6 libX11.so.6 libXtst.so.6 libcups.so.2)
declare -A providers
for library in "${libraries[@]}"; do
    providers[$library]=$(owner_of "$library")
done

check_control() { # control-file
    local control=$1 name library depends description line ended=
    local field_line='^[A-Za-z0-9][A-Za-z0-9-]*: [^[:space:]]' continuation='^ [^[:space:]]'
    local maintainer_form='^[^<>]*[^[:space:]<>] <[^@<>[:space:]]+@[^@<>[:space:]]+>$'
    # One paragraph: blank lines may only close it.
    while IFS= read -r line; do
        if [ -z "$line" ]; then
            ended=yes
        elif [ -n "$ended" ]; then
            fail "control file goes on after a blank line: '$line'"
        elif ! [[ $line =~ $field_line || $line =~ $continuation ]]; then
            fail "control file line is neither a field with a value nor a continuation: '$line'"
        fi
    done <"$control"
    for name in Package Version Architecture; do
        [ "$(field "$name" "$control" | wc -l)" -eq 1 ] || fail "control file must hold $name exactly once"
    done
    [ "$(field Package "$control")" = scriblet ] || fail "Package is '$(field Package "$control")', not scriblet"
    [ "$(field Version "$control")" = "$version" ] || fail "Version is '$(field Version "$control")', not $version"
    [ "$(field Architecture "$control")" = "$arch" ] || fail "Architecture is '$(field Architecture "$control")', not $arch"
    [[ $(field Maintainer "$control") =~ $maintainer_form ]] ||
        fail "Maintainer is '$(field Maintainer "$control")', not 'Name <address>'"
    [[ $(field Section "$control") =~ ^(editors|utils)$ ]] || fail "Section is '$(field Section "$control")'"
    [ -z "$(field Homepage "$control")" ] || fail "Homepage is declared"
    description=$(field Description "$control")
    [ -n "$(head -n1 <<<"$description")" ] && [ "$(head -n1 <<<"$description" | wc -c)" -le 81 ] ||
        fail "Description lacks a short summary (at most 80 characters)"
    [ "$(wc -l <<<"$description")" -ge 2 ] || fail "Description lacks the long description"
    depends=$(field Depends "$control" | relation_names)
    for library in "${libraries[@]}"; do
        if [ -z "${providers[$library]}" ]; then
            fail "no installed package provides $library to the binary"
        elif ! grep -qx "${providers[$library]}" <<<"$depends"; then
            fail "Depends does not name ${providers[$library]}, which provides $library"
        fi
    done
    field Recommends "$control" | relation_names | grep -qx fonts-dejavu-core || fail "Recommends does not name fonts-dejavu-core"
    for name in gnome-calculator gnome-calls cups; do
        field Suggests "$control" | relation_names | grep -qx "$name" || fail "Suggests does not name $name"
    done
}

check_listing() { # dpkg-deb -c output
    local mode owner path
    while read -r mode owner _ _ _ path _; do
        [ "$owner" = root/root ] || fail "$path is owned by $owner, not root/root"
        case "$path" in
        ./usr/bin/scriblet) [ "$mode" = -rwxr-xr-x ] || fail "$path has mode $mode" ;;
        */) [ "$mode" = drwxr-xr-x ] || fail "$path has mode $mode" ;;
        *) [ "$mode" = -rw-r--r-- ] || fail "$path has mode $mode" ;;
        esac
    done <"$1"
}

metainfo_name=$(basename "$source"/resources/*.metainfo.xml)

# What a software centre lists: the file names its own id, launches the desktop
# entry the package ships and passes the validator of the release it runs on.
check_metainfo() { # root
    local root=$1
    local metainfo=$root/usr/share/metainfo/$metainfo_name launchable
    [ -f "$metainfo" ] || return 0
    [ "$(sed -n 's|^ *<id>\(.*\)</id>$|\1|p' "$metainfo")" = "${metainfo_name%.metainfo.xml}" ] ||
        fail "the AppStream id is not the file's name, ${metainfo_name%.metainfo.xml}"
    launchable=$(sed -n 's|^ *<launchable type="desktop-id">\(.*\)</launchable>$|\1|p' "$metainfo")
    [ -f "$root/usr/share/applications/$launchable" ] || fail "the AppStream file launches '$launchable', which the package lacks"
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$metainfo" >"$scratch/appstream" 2>&1 ||
            fail "appstreamcli validate: $(cat "$scratch/appstream")"
    else
        fail "appstreamcli is not installed (./build.sh test installs it)"
    fi
}

check_tree() { # root
    local root=$1 page program icon link extension found
    {
        echo usr/bin/scriblet
        echo usr/share/applications/scriblet.desktop
        echo "usr/share/metainfo/$metainfo_name"
        printf 'usr/share/icons/hicolor/%s\n' 32x32/apps/scriblet.png 64x64/apps/scriblet.png scalable/apps/scriblet.svg
        for page in "$source"/resources/help/*; do echo "usr/share/scriblet/help/${page##*/}"; done
        printf 'usr/share/doc/scriblet/%s\n' copyright changelog.gz
        echo usr/share/man/man1/scriblet.1.gz
        [ "$overrides" != ON ] || echo usr/share/lintian/overrides/scriblet
    } | sort >"$scratch/expected"
    (cd "$root" && find . ! -type d -printf '%P\n' | sort) >"$scratch/packaged"
    diff "$scratch/expected" "$scratch/packaged" >"$scratch/difference" ||
        fail "packaged files differ from the expected ones ('>' packaged only, '<' missing):
$(grep '^[<>]' "$scratch/difference")"

    [ "$(head -c4 "$root/usr/bin/scriblet" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 7f454c46 ] ||
        fail "usr/bin/scriblet is not an ELF program"
    ! grep -qaF "$source" "$root/usr/bin/scriblet" || fail "usr/bin/scriblet holds the source folder it was built from"
    readelf -d "$root/usr/bin/scriblet" 2>/dev/null | grep -q 'FLAGS.*NOW' || fail "usr/bin/scriblet is not bound at start (-z now)"
    ! readelf -d "$root/usr/bin/scriblet" 2>/dev/null | grep -qE '\((RUNPATH|RPATH)\)' ||
        fail "usr/bin/scriblet has a run path: libraries are looked for outside the system's folders"
    cmp -s "$source/packaging/copyright" "$root/usr/share/doc/scriblet/copyright" ||
        fail "the copyright file is not the one in packaging/"
    cmp -s "$source/resources/scriblet.desktop" "$root/usr/share/applications/scriblet.desktop" ||
        fail "the desktop entry is not the one in resources/"
    cmp -s "$source/resources/scriblet.png" "$root/usr/share/icons/hicolor/32x32/apps/scriblet.png" ||
        fail "the 32x32 icon is not resources/scriblet.png"
    cmp -s "$source/resources/scriblet-64.png" "$root/usr/share/icons/hicolor/64x64/apps/scriblet.png" ||
        fail "the 64x64 icon is not resources/scriblet-64.png"
    cmp -s "$source/resources/scriblet.svg" "$root/usr/share/icons/hicolor/scalable/apps/scriblet.svg" ||
        fail "the scalable icon is not resources/scriblet.svg"

    local entry=$root/usr/share/applications/scriblet.desktop
    check_metainfo "$root"
    program=$(sed -n 's/^Exec=//p' "$entry" | head -n1 | cut -d' ' -f1)
    case "$program" in
    "") fail "the desktop entry has no Exec" ;;
    /*) [ -x "$root$program" ] && [ -f "$root$program" ] || fail "Exec names $program, which the package lacks" ;;
    *) [ -x "$root/usr/bin/$program" ] && [ -f "$root/usr/bin/$program" ] || fail "Exec names $program, which is not in usr/bin" ;;
    esac
    icon=$(sed -n 's/^Icon=//p' "$entry" | head -n1)
    case "$icon" in
    "") fail "the desktop entry has no Icon" ;;
    /*) [ -f "$root$icon" ] || fail "Icon names $icon, which the package lacks" ;;
    *)
        found=
        for extension in png svg xpm; do
            compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.$extension" >/dev/null && found=yes
        done
        [ -n "$found" ] || fail "Icon names $icon, which is in no hicolor size"
        ;;
    esac
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" >"$scratch/validate" 2>&1 || fail "desktop-file-validate: $(cat "$scratch/validate")"
    fi

    # Where HelpDirectory() looks first: ../share/scriblet/help from the program's directory.
    local help=$root/usr/bin/../share/scriblet/help
    [ -f "$help/index.html" ] || fail "no contents page at usr/bin/../share/scriblet/help/index.html"
    for page in "$help"/*.html; do
        [ -f "$page" ] || continue
        for link in $(grep -oE '(href|src)="[^"]*"' "$page" | sed -E 's/^[a-z]+="//; s/"$//; s/#.*//'); do
            [[ $link == *:* ]] && continue
            [ -f "$help/$link" ] || fail "${page##*/} links to $link, which the package lacks"
        done
    done
}

check_control "$scratch/control"
check_listing "$scratch/listing"
check_tree "$scratch/root"
# An empty entry of a run path is the current directory: the build tree's program too must have none.
! readelf -d "$build/src/scriblet" 2>/dev/null | grep -qE '\((RUNPATH|RPATH)\)' ||
    fail "the build tree's scriblet has a run path: it would load libraries from the current directory"
# Every error and warning counts; the overrides the package ships say why they are there.
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1 || fail "lintian:
$(cat "$scratch/lintian")"
else
    fail "lintian is not installed (./build.sh test installs it)"
fi
if [ "$failures" -ne 0 ]; then
    echo "$failures fault(s) in $deb"
    exit 1
fi
echo "ok: $(basename "$deb"), Depends: $(field Depends "$scratch/control")"

# Each broken copy must fail, and for the reason it was broken.
caught=0 missed=0
expect_caught() { # description expected-message check-function file
    local output
    output=$(failures=0; "$3" "$4"; echo "failures=$failures")
    if [[ $output == *"$2"* ]] && [[ $output != *failures=0 ]]; then
        caught=$((caught + 1))
    else
        echo "MISSED: $1 (wanted a failure mentioning '$2'), got: $output"
        missed=$((missed + 1))
    fi
}
broken_root() { # name: a fresh copy of the unpacked root
    rm -rf "$scratch/broken/$1"
    mkdir -p "$scratch/broken"
    cp -a "$scratch/root" "$scratch/broken/$1"
    echo "$scratch/broken/$1"
}
broken_file() { # name source sed-script: a changed copy of a file
    mkdir -p "$scratch/broken"
    sed -E "$3" "$2" >"$scratch/broken/$1"
    echo "$scratch/broken/$1"
}
help=usr/share/scriblet/help
entry=usr/share/applications/scriblet.desktop

r=$(broken_root static); mkdir -p "$r/usr/lib"; cp "$r/usr/bin/scriblet" "$r/usr/lib/libscriblet_core.a"
expect_caught "a static library packaged" "> usr/lib/libscriblet_core.a" check_tree "$r"
r=$(broken_root test); cp "$r/usr/bin/scriblet" "$r/usr/bin/test_find"
expect_caught "a test program packaged" "> usr/bin/test_find" check_tree "$r"
r=$(broken_root contents); rm "$r/$help/index.html"
expect_caught "no contents page" "no contents page" check_tree "$r"
r=$(broken_root help-elsewhere); mkdir -p "$r/usr/share/doc/scriblet"; mv "$r/$help" "$r/usr/share/doc/scriblet/"
expect_caught "help pages beside, not under, share/scriblet" "no contents page" check_tree "$r"
r=$(broken_root link); rm "$r/$help/printing.html"
expect_caught "a linked page missing" "links to printing.html" check_tree "$r"
r=$(broken_root icon); sed -i 's/^Icon=.*/Icon=scriblet-note/' "$r/$entry"
expect_caught "Icon naming no icon" "Icon names scriblet-note" check_tree "$r"
r=$(broken_root exec); sed -i 's/^Exec=.*/Exec=scribble %f/' "$r/$entry"
expect_caught "Exec naming no program" "Exec names scribble" check_tree "$r"
r=$(broken_root exec-path); sed -i 's|^Exec=.*|Exec=/usr/local/bin/scriblet %f|' "$r/$entry"
expect_caught "Exec naming a path the package lacks" "Exec names /usr/local/bin/scriblet" check_tree "$r"
r=$(broken_root builder-path); printf '%s/resources/help' "$source" >>"$r/usr/bin/scriblet"
expect_caught "the build's source folder in the program" "holds the source folder" check_tree "$r"
r=$(broken_root copyright); echo "License: GPL-3+" >>"$r/usr/share/doc/scriblet/copyright"
expect_caught "another copyright file" "not the one in packaging/" check_tree "$r"
r=$(broken_root script); printf '#!/bin/sh\n' >"$r/usr/bin/scriblet"
expect_caught "a program that is not ELF" "not an ELF program" check_tree "$r"
metainfo=usr/share/metainfo/$metainfo_name
r=$(broken_root launchable); sed -i 's|>scriblet.desktop<|>scriblet-notes.desktop<|' "$r/$metainfo"
expect_caught "a software centre entry launching nothing" "launches 'scriblet-notes.desktop'" check_tree "$r"
r=$(broken_root appstream); sed -i '/<summary>/d' "$r/$metainfo"
expect_caught "a software centre entry without summary" "appstreamcli validate" check_tree "$r"
if command -v desktop-file-validate >/dev/null; then
    r=$(broken_root entry); sed -i 's/^Type=.*/Type=Program/' "$r/$entry"
    expect_caught "an invalid desktop entry" "desktop-file-validate" check_tree "$r"
fi

c=$scratch/control
expect_caught "another name" "not scriblet" check_control "$(broken_file name "$c" 's/^Package: .*/Package: scriblet-notes/')"
expect_caught "a Debian revision" "not $version" check_control "$(broken_file revision "$c" "s/^Version: .*/Version: $version-1/")"
expect_caught "Version twice" "Version exactly once" check_control "$(broken_file twice "$c" "s/^(Version: .*)/\\1\\n\\1/")"
expect_caught "Qt Widgets left out of Depends" "Depends does not name ${providers[libQt6Widgets.so.6]}" \
    check_control "$(broken_file widgets "$c" "/^Depends:/s/(^Depends: |, )${providers[libQt6Widgets.so.6]}( \\([^)]*\\))?//")"
expect_caught "Xtst left out of Depends" "Depends does not name ${providers[libXtst.so.6]}" \
    check_control "$(broken_file xtst "$c" "/^Depends:/s/(^Depends: |, )${providers[libXtst.so.6]}( \\([^)]*\\))?//")"
expect_caught "the development package named instead" "Depends does not name ${providers[libX11.so.6]}" \
    check_control "$(broken_file x11 "$c" "/^Depends:/s/${providers[libX11.so.6]}/libx11-dev/")"
expect_caught "no fonts recommended" "Recommends does not name" check_control "$(broken_file fonts "$c" '/^Recommends:/d')"
expect_caught "no printing system suggested" "Suggests does not name cups" check_control "$(broken_file cups "$c" '/^Suggests:/s/, cups$//')"
expect_caught "a homepage" "Homepage is declared" check_control "$(broken_file homepage "$c" '1i Homepage: https://example.invalid/')"
expect_caught "an empty field" "neither a field with a value" check_control "$(broken_file empty "$c" '1i Homepage:')"
expect_caught "a second paragraph" "goes on after a blank line" check_control "$(broken_file paragraph "$c" '1i Package: scriblet\n')"
expect_caught "a maintainer without address" "Maintainer is" check_control "$(broken_file maintainer "$c" 's/^Maintainer: .*/Maintainer: Scriblet maintainers/')"
expect_caught "no section" "Section is" check_control "$(broken_file section "$c" '/^Section:/d')"
expect_caught "no long description" "lacks the long description" check_control "$(broken_file long "$c" '/^Description:/,$ { /^ /d }')"
expect_caught "files owned by the builder" "not root/root" check_listing "$(broken_file owner "$scratch/listing" '2s|root/root|builder/builder|')"
expect_caught "a program that cannot run" "usr/bin/scriblet has mode" check_listing "$(broken_file mode "$scratch/listing" '\|\./usr/bin/scriblet$|s/^-rwxr-xr-x/-rw-r--r--/')"
expect_caught "a page anyone may change" "has mode -rw-rw-rw-" check_listing "$(broken_file page-mode "$scratch/listing" '\|index\.html$|s/^-rw-r--r--/-rw-rw-rw-/')"

echo "broken copies caught: $caught, missed: $missed"
[ "$missed" -eq 0 ]
