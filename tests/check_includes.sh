#!/bin/sh
# Includes point one way, never up a layer. Lists every include that does and
# fails; `core` or `gui` chooses the layer to look at.
#   sh check_includes.sh SRC_DIR core|gui
src="$1"
status=0

# reject DESCRIPTION PATTERN FOLDER [grep options...]
reject() {
    description="$1"
    pattern="$2"
    folder="$3"
    shift 3
    found=$(grep -rnE "$@" "$pattern" "$folder")
    if [ -n "$found" ]; then
        echo "$description:"
        echo "$found"
        status=1
    fi
}

case "$2" in
core)
    reject "common includes a layer above it" \
        '#include "core/(model|store|timecard|month|convert|export|import|overview)/' "$src/core/common"
    reject "the model includes code of ours" '#include "core/' "$src/core/model"
    reject "the store includes a layer above it" \
        '#include "core/(timecard|month|convert|export|import|overview)/' "$src/core/store"
    reject "the calculation includes more than common and model" \
        '#include "core/(store|month|convert|export|import|overview)/' "$src/core/timecard"
    reject "the month includes the units built on it" \
        '#include "core/(convert|export|import|overview)/' "$src/core/month"
    reject "the export includes the import" '#include "core/import/' "$src/core/export"
    reject "the import includes the export" '#include "core/export/' "$src/core/import"
    reject "the export includes the overview" '#include "core/overview/' "$src/core/export"
    reject "the import includes the overview" '#include "core/overview/' "$src/core/import"
    ;;
gui)
    reject "a window reaches up to the application" '#include "gui/app/' "$src/gui" \
        --exclude-dir=app --exclude=main.cpp
    reject "shared code or a control includes a window" \
        '#include "gui/(app|timecard|employees|print|convert|files|overview)/' "$src/gui/shared"
    reject "shared code or a control includes a window" \
        '#include "gui/(app|timecard|employees|print|convert|files|overview)/' "$src/gui/controls"
    ;;
*)
    echo "usage: check_includes.sh SRC_DIR core|gui" >&2
    exit 2
    ;;
esac
exit $status
