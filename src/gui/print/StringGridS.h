#pragma once
// A plain string grid whose input method can be switched off (the entry
// window's day grid takes clock times only).

#include "gui/controls/StringGrid.h"

namespace pb {

class TStringGridS : public TStringGrid {
    Q_OBJECT

  public:
    explicit TStringGridS(QWidget* parent = nullptr);
    ~TStringGridS() override;

    using TStringGrid::ImeMode;
    using TStringGrid::SetImeMode;
};

}  // namespace pb
