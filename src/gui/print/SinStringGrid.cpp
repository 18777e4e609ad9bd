#include "gui/print/SinStringGrid.h"

namespace pb {

TSinStringGrid::TSinStringGrid(QWidget* parent) : PrintGrid(parent) {}

TSinStringGrid::~TSinStringGrid() = default;

}  // namespace pb
