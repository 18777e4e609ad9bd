#pragma once
// One step on the entry window's undo stack: a change of the typed cells, kept
// as the cells before and after it; the window puts either back.

#include <QString>
#include <QUndoCommand>
#include <functional>

#include "core/month/MonthEntry.h"

namespace pb {

class CellsChange : public QUndoCommand {
  public:
    using Restore = std::function<void(const EntrySnapshot&)>;
    CellsChange(const QString& what, EntryChange change, Restore restore);

    void undo() override;
    void redo() override;

  private:
    EntryChange change_;
    Restore restore_;
    bool done_ = false;
};

}  // namespace pb
