#!/bin/sh
# Starts the real program on a virtual X server in a temporary program folder:
# the main window appears, a second start ends with 0 and opens no window.
# usage: smoke.sh PUNCHBOOK NEXTCELL_DAT SAMPLE_FOLDER
set -u

if [ "${1:-}" != "--inside" ]; then
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' EXIT
    cp "$1" "$2" "$folder"/ || exit 1
    cp "$3"/* "$folder"/ || exit 1
    chmod u+w "$folder"/*
    # Its own lock name, so a copy someone is using does not get in the way.
    export PUNCHBOOK_INSTANCE_NAME="punchbook-smoke-$$"
    unset QT_QPA_PLATFORM
    xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" --inside "$folder" </dev/null
    exit $?
fi

folder=$2
cd "$folder" || exit 1
fail() {
    echo "smoke: $*" >&2
    [ -n "${first:-}" ] && kill "$first" 2>/dev/null
    exit 1
}

./punchbook &
first=$!
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Punchbook 2\.0$' >/dev/null; then
    fail "the main window did not appear"
fi
windows=$(xdotool search --onlyvisible --name '^Punchbook 2\.0$' | wc -l)
[ "$windows" -eq 1 ] || fail "$windows main windows after the first start"

timeout 10 ./punchbook
status=$?
[ "$status" -eq 0 ] || fail "the second start ended with $status"
sleep 0.5
windows=$(xdotool search --onlyvisible --name '^Punchbook 2\.0$' | wc -l)
[ "$windows" -eq 1 ] || fail "$windows main windows after the second start"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"

kill "$first"
wait "$first" 2>/dev/null
echo "smoke: main window shown, second start ended with 0, one window"
exit 0
