#pragma once
// A printable grid whose input method can be switched off (the entry window's
// summary grid).

#include "gui/print/Sgridp.h"

namespace pb {

class TSinStringGrid : public TStringGridP {
    Q_OBJECT

  public:
    explicit TSinStringGrid(QWidget* parent = nullptr);
    ~TSinStringGrid() override;

    using TStringGrid::ImeMode;
    using TStringGrid::SetImeMode;
};

}  // namespace pb
