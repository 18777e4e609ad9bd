#pragma once
// A printable grid whose input method can be switched off (the entry window's
// summary grid).

#include "gui/print/PrintGrid.h"

namespace pb {

class TSinStringGrid : public PrintGrid {
    Q_OBJECT

  public:
    explicit TSinStringGrid(QWidget* parent = nullptr);
    ~TSinStringGrid() override;

    using TStringGrid::ImeMode;
    using TStringGrid::SetImeMode;
};

}  // namespace pb
