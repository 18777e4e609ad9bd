#!/bin/sh
# Includes point one way, never up a layer. Lists every include that does and
# fails; `core` or `gui` chooses the layer to look at. The folders are those of
# the tree: a core folder without a rule below fails until it is given one.
#   sh check_includes.sh SRC_DIR core|gui
src="$1"
status=0

fail() {
    echo "$1"
    status=1
}

# The core folders each may include besides itself, lowest first.
core_allows() {
    case "$1" in
    common | model) echo "" ;;
    store | timecard) echo "common model" ;;
    month) echo "common model store timecard" ;;
    convert | export | import | check) echo "common model store timecard month" ;;
    overview) echo "common model store timecard month export" ;;
    *) return 1 ;;
    esac
}

# check FOLDER ALLOWED...: every include of "LAYER/X/" in FOLDER has X allowed.
check() {
    folder="$1"
    layer="$2"
    shift 2
    name=$(basename "$folder")
    found=$(grep -rnoE "#include \"$layer/[A-Za-z_]+/" "$folder" | while IFS= read -r hit; do
        target=$(echo "$hit" | sed -E "s|.*#include \"$layer/([A-Za-z_]+)/|\\1|")
        allowed=no
        for ok in "$name" "$@"; do
            [ "$target" = "$ok" ] && allowed=yes
        done
        [ $allowed = no ] && echo "$hit"
    done)
    if [ -n "$found" ]; then
        fail "$layer/$name includes a folder it may not:"
        echo "$found"
    fi
}

case "$2" in
core)
    for folder in "$src"/core/*/; do
        folder=${folder%/}
        name=$(basename "$folder")
        if ! allowed=$(core_allows "$name"); then
            fail "core/$name has no rule in check_includes.sh: say what it may include"
            continue
        fi
        # shellcheck disable=SC2086
        check "$folder" core $allowed
    done
    ;;
gui)
    # Every folder but the shared code, the controls and the pictures is a window
    # folder: windows may include each other, but only main.cpp and app/ itself
    # include the application (app/).
    windows=""
    for folder in "$src"/gui/*/; do
        name=$(basename "$folder")
        case "$name" in
        shared | controls | resources | app) ;;
        *) windows="$windows $name" ;;
        esac
    done
    for folder in "$src"/gui/*/; do
        folder=${folder%/}
        name=$(basename "$folder")
        case "$name" in
        controls) check "$folder" gui ;;
        shared) check "$folder" gui controls resources ;;
        resources) ;;
        app) check "$folder" gui shared controls resources $windows ;;
        *)
            # shellcheck disable=SC2086
            check "$folder" gui shared controls resources $windows
            ;;
        esac
    done
    ;;
*)
    echo "usage: check_includes.sh SRC_DIR core|gui" >&2
    exit 2
    ;;
esac
exit $status
