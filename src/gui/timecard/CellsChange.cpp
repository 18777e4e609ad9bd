#include "gui/timecard/CellsChange.h"

#include <utility>

namespace pb {

CellsChange::CellsChange(const QString& what, EntryChange change, Restore restore)
    : QUndoCommand(what), change_(std::move(change)), restore_(std::move(restore)) {}

void CellsChange::undo() {
    restore_(change_.before);
}

void CellsChange::redo() {
    // The first redo comes as the change is recorded: the cells hold it already.
    if (done_)
        restore_(change_.after);
    done_ = true;
}

}  // namespace pb
