#!/bin/sh
# Installs the build into a staging folder as the package does (DESTDIR, prefix
# /usr), checks what a desktop and a terminal need, then starts the installed
# program with a fresh home on a virtual X server: its window appears, it makes
# its data folder under ~/.local/share, F1 opens the manual there, and nothing
# is written beside the executable.
# usage: install.sh BUILD_DIR SAMPLE_FOLDER
set -u

fail() {
    echo "install: $*" >&2
    [ -n "${running:-}" ] && kill "$running" 2>/dev/null
    exit 1
}

if [ "${3:-}" != "--inside" ]; then
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    root=$stage/root
    DESTDIR=$root cmake --install "$1" --prefix /usr >"$stage/install.log" 2>&1 ||
        { cat "$stage/install.log" >&2; fail "cmake --install failed"; }

    for file in bin/punchbook bin/punchbook-export bin/punchbook-import share/punchbook/NextCell.dat \
        share/punchbook/help/index.html share/applications/punchbook.desktop \
        share/metainfo/org.punchbook.Punchbook.metainfo.xml \
        share/icons/hicolor/48x48/apps/punchbook.png \
        share/icons/hicolor/scalable/apps/punchbook.svg \
        share/man/man1/punchbook.1.gz share/man/man1/punchbook-export.1.gz \
        share/man/man1/punchbook-import.1.gz; do
        [ -s "$root/usr/$file" ] || fail "not installed: /usr/$file"
    done
    [ -x "$root/usr/bin/punchbook" ] || fail "/usr/bin/punchbook is not executable"
    desktop-file-validate "$root/usr/share/applications/punchbook.desktop" ||
        fail "the desktop entry is not valid"
    grep -q '^Name\[ja\]=' "$root/usr/share/applications/punchbook.desktop" ||
        fail "the desktop entry has no Japanese name"
    appstreamcli validate --no-net \
        "$root/usr/share/metainfo/org.punchbook.Punchbook.metainfo.xml" >"$stage/as.log" 2>&1 ||
        { cat "$stage/as.log" >&2; fail "the metainfo is not valid"; }
    for page in punchbook punchbook-export punchbook-import; do
        MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "^NAME" ||
            fail "man $page does not render"
    done

    # The installed exporter reads the folder it is pointed at.
    mkdir "$stage/data" && cp "$2"/* "$stage/data"/ && chmod u+w "$stage/data"/*
    PUNCHBOOK_FOLDER=$stage/data "$root/usr/bin/punchbook-export" --id 1 --year 1999 --month 3 \
        >"$stage/export.csv" || fail "the installed punchbook-export failed"
    [ -s "$stage/export.csv" ] || fail "the installed punchbook-export wrote nothing"
    # and the installed importer reads that month back.
    PUNCHBOOK_FOLDER=$stage/data "$root/usr/bin/punchbook-import" --id 1 --year 1999 --month 3 \
        --dry-run "$stage/export.csv" >"$stage/import.txt" ||
        fail "the installed punchbook-import failed"

    ls -A "$root/usr/bin" >"$stage/bin.before"
    mkdir "$stage/home"
    export HOME="$stage/home"
    unset XDG_DATA_HOME PUNCHBOOK_FOLDER QT_QPA_PLATFORM
    export PUNCHBOOK_INSTANCE_NAME="punchbook-install-$$"
    xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$root" "$stage" --inside </dev/null ||
        exit 1
    ls -A "$root/usr/bin" | cmp -s - "$stage/bin.before" ||
        fail "the program wrote beside its executable"
    echo "install: files, desktop entry, metainfo, man pages, first start and help checked"
    exit 0
fi

root=$1
"$root/usr/bin/punchbook" &
running=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Punchbook 2\.0$' | head -n 1)
[ -n "$main" ] || fail "the installed program showed no window"
# A task switcher finds the launcher of a window by its class, which the
# entry's StartupWMClass names, or by its instance name, the entry's file name.
entry="$root/usr/share/applications/punchbook.desktop"
wanted="WM_CLASS(STRING) = \"$(basename "$entry" .desktop)\", \"$(sed -n 's/^StartupWMClass=//p' "$entry")\""
shown=$(xprop -id "$main" WM_CLASS)
[ "$shown" = "$wanted" ] || fail "the window has $shown, its launcher wants $wanted"
[ -d "$HOME/.local/share/punchbook" ] || fail "no data folder in ~/.local/share/punchbook"
mode=$(stat -c %a "$HOME/.local/share/punchbook")
[ "$mode" = 700 ] || fail "the data folder is open to others ($mode)"

xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key F1
timeout 10 xdotool search --sync --onlyvisible --name 'ヘルプ - メイン画面' >/dev/null ||
    fail "F1 did not open the main window's page of the manual"
kill "$running"
wait "$running" 2>/dev/null
exit 0
