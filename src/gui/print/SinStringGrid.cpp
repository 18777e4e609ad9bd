#include "gui/print/SinStringGrid.h"

namespace pb {

TSinStringGrid::TSinStringGrid(QWidget* parent) : TStringGridP(parent) {}

TSinStringGrid::~TSinStringGrid() = default;

}  // namespace pb
