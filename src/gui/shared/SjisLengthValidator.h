#pragma once
// A text field that takes no more than a record's Shift-JIS field holds:
// half-width characters count one byte, full-width ones two. What would not fit
// is refused with a beep as it is typed or pasted, so nothing is cut later.

#include <QValidator>
#include <cstddef>

namespace pb {

class SjisLengthValidator : public QValidator {
    Q_OBJECT
  public:
    SjisLengthValidator(std::size_t maxBytes, QObject* parent);

    State validate(QString& input, int& pos) const override;

  private:
    std::size_t maxBytes_;
};

}  // namespace pb
