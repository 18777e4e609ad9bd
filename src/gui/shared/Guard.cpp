#include "gui/shared/Guard.h"

#include <exception>

#include "core/store/Operator.h"
#include "gui/shared/MessageOperator.h"

namespace pb {

bool Guarded(Operator& op, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        op.Error(error.what());
    } catch (...) {
        op.Error("処理を続けられませんでした。");
    }
    return false;
}

bool Guarded(QWidget* parent, const std::function<void()>& body) {
    MessageOperator op(parent);
    return Guarded(op, body);
}

}  // namespace pb
