#include "gui/print/StringGridS.h"

namespace pb {

TStringGridS::TStringGridS(QWidget* parent) : TStringGrid(parent) {}

TStringGridS::~TStringGridS() = default;

}  // namespace pb
