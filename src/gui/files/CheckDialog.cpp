#include "gui/files/CheckDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

TCheckD::TCheckD(const FolderCheckResult& result, const QString& folder, QWidget* parent)
    : QDialog(parent) {
    Name(this, QStringLiteral("TCheckD"));
    setWindowTitle(QStringLiteral("データの検査"));
    setProperty("HelpContext", 14);

    auto* column = new QVBoxLayout(this);
    outcomeLabel_ = new QLabel(this);
    Name(outcomeLabel_, QStringLiteral("OutcomeLabel"));
    QFont bold = outcomeLabel_->font();
    bold.setBold(true);
    outcomeLabel_->setFont(bold);
    outcomeLabel_->setText(
        result.Sound() ? QStringLiteral("異常はありません。")
                       : QStringLiteral("%1 件の問題が見つかりました。").arg(result.problems));
    auto* folderLabel = new QLabel(
        QStringLiteral("データフォルダ: %1").arg(QDir::toNativeSeparators(folder)), this);
    Name(folderLabel, QStringLiteral("FolderLabel"));
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    reportMemo_ = new QPlainTextEdit(this);
    Name(reportMemo_, QStringLiteral("ReportMemo"));
    NameAfter(reportMemo_, {QStringLiteral("検査の結果")});
    reportMemo_->setReadOnly(true);
    reportMemo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reportMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportMemo_->setPlainText(Q(CheckReport(result)));

    auto* buttons = new QDialogButtonBox(this);
    copyPB_ = buttons->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    Name(copyPB_, QStringLiteral("CopyPB"));
    closePB_ = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    Name(closePB_, QStringLiteral("ClosePB"));
    closePB_->setDefault(true);
    connect(copyPB_, &QPushButton::clicked, this, &TCheckD::CopyPBClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    column->addWidget(outcomeLabel_);
    column->addWidget(folderLabel);
    column->addWidget(reportMemo_, 1);
    column->addWidget(buttons);
    // Wide enough for a finding's line, tall enough for a screenful of them.
    resize(600, result.Sound() ? 240 : 420);
}

void TCheckD::CopyPBClick() {
    QApplication::clipboard()->setText(reportMemo_->toPlainText());
}

}  // namespace pb
