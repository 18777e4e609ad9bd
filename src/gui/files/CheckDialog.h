#pragma once
// データの検査: the report of the data folder's check, in a window the
// operator can read, scroll and copy from (to hand it to whoever repairs the
// files).

#include <QDialog>

#include "core/check/FolderCheck.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pb {

class TCheckD : public QDialog {
    Q_OBJECT
  public:
    // Shows the outcome of `CheckFolder`; `folder` names the data folder checked.
    TCheckD(const FolderCheckResult& result, const QString& folder, QWidget* parent = nullptr);

  public slots:
    void CopyPBClick();

  private:
    QLabel* outcomeLabel_ = nullptr;
    QPlainTextEdit* reportMemo_ = nullptr;
    QPushButton* copyPB_ = nullptr;
    QPushButton* closePB_ = nullptr;
};

}  // namespace pb
