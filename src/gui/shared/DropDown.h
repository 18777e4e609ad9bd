#pragma once
// Drop-down lists whose rows are as tall as the main window's: a list the
// operator may type into draws plain item rows, a few pixels higher than its
// font, where a pick-only list draws menu rows.

#include <QComboBox>
#include <QStyledItemDelegate>
#include <algorithm>

namespace pb {

class RoomyRowDelegate : public QStyledItemDelegate {
  public:
    static constexpr int kRowHeight = 21;
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), kRowHeight));
        return size;
    }
};

inline void RoomyRows(QComboBox* box) {
    box->setItemDelegate(new RoomyRowDelegate(box));
}

}  // namespace pb
