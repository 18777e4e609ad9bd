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
    OutcomeLabel = new QLabel(this);
    Name(OutcomeLabel, QStringLiteral("OutcomeLabel"));
    QFont bold = OutcomeLabel->font();
    bold.setBold(true);
    OutcomeLabel->setFont(bold);
    OutcomeLabel->setText(
        result.Sound() ? QStringLiteral("異常はありません。")
                       : QStringLiteral("%1 件の問題が見つかりました。").arg(result.problems));
    auto* folderLabel = new QLabel(
        QStringLiteral("データフォルダ: %1").arg(QDir::toNativeSeparators(folder)), this);
    Name(folderLabel, QStringLiteral("FolderLabel"));
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ReportMemo = new QPlainTextEdit(this);
    Name(ReportMemo, QStringLiteral("ReportMemo"));
    NameAfter(ReportMemo, {QStringLiteral("検査の結果")});
    ReportMemo->setReadOnly(true);
    ReportMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ReportMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReportMemo->setPlainText(Q(CheckReport(result)));

    auto* buttons = new QDialogButtonBox(this);
    CopyPB = buttons->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    Name(CopyPB, QStringLiteral("CopyPB"));
    ClosePB = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    Name(ClosePB, QStringLiteral("ClosePB"));
    ClosePB->setDefault(true);
    connect(CopyPB, &QPushButton::clicked, this, &TCheckD::CopyPBClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    column->addWidget(OutcomeLabel);
    column->addWidget(folderLabel);
    column->addWidget(ReportMemo, 1);
    column->addWidget(buttons);
    // Wide enough for a finding's line, tall enough for a screenful of them.
    resize(600, result.Sound() ? 240 : 420);
}

void TCheckD::CopyPBClick() {
    QApplication::clipboard()->setText(ReportMemo->toPlainText());
}

}  // namespace pb
