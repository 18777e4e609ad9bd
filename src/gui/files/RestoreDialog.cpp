#include "gui/files/RestoreDialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/DailyBackup.h"
#include "core/store/WorkDataFiles.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

TRestoreD::TRestoreD(const DataFiles& files, QWidget* parent) : QDialog(parent), files_(files) {
    Name(this, QStringLiteral("TRestoreD"));
    setWindowTitle(QStringLiteral("バックアップから復元"));
    setProperty("HelpContext", 14);

    auto* column = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("戻すバックアップ(&B):"), this);
    Name(prompt, QStringLiteral("PromptLabel"));
    backupList_ = new QListWidget(this);
    Name(backupList_, QStringLiteral("BackupList"));
    NameAfter(backupList_, {QStringLiteral("戻すバックアップ")});
    prompt->setBuddy(backupList_);
    for (const std::string& name : BackupNames(files_)) {
        auto* item = new QListWidgetItem(Caption(Q(name)), backupList_);
        item->setData(Qt::UserRole, Q(name));
    }
    filesLabel_ = new QLabel(this);
    Name(filesLabel_, QStringLiteral("FilesLabel"));
    filesLabel_->setWordWrap(true);
    filesLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* note = new QLabel(QStringLiteral("今のデータは、戻す前にバックアップされます。"
                                           "開いている入力画面は閉じられます。"),
                            this);
    Name(note, QStringLiteral("NoteLabel"));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    restorePB_ = buttons->addButton(QStringLiteral("復元(&R)"), QDialogButtonBox::AcceptRole);
    Name(restorePB_, QStringLiteral("RestorePB"));
    cancelPB_ = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    Name(cancelPB_, QStringLiteral("CancelPB"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(backupList_, &QListWidget::currentRowChanged, this, &TRestoreD::BackupListChange);
    connect(backupList_, &QListWidget::itemActivated, this, &QDialog::accept);

    column->addWidget(prompt);
    column->addWidget(backupList_, 1);
    column->addWidget(filesLabel_);
    column->addWidget(note);
    column->addWidget(buttons);
    resize(440, 380);
    if (backupList_->count() > 0)
        backupList_->setCurrentRow(0);
    BackupListChange();
    backupList_->setFocus();
}

QString TRestoreD::SelectedName() const {
    const QListWidgetItem* item = backupList_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toString() : QString();
}

QString TRestoreD::Caption(const QString& name) {
    const QDate day = QDate::fromString(name.left(10), QStringLiteral("yyyy-MM-dd"));
    static const QString kWeekdays = QStringLiteral("月火水木金土日");
    QString caption = day.isValid() ? QStringLiteral("%1年%2月%3日(%4)")
                                          .arg(day.year())
                                          .arg(day.month())
                                          .arg(day.day())
                                          .arg(kWeekdays.at(day.dayOfWeek() - 1))
                                    : name.left(10);
    if (name.size() == 17)
        caption += QStringLiteral(" %1:%2:%3（復元の前）")
                       .arg(name.mid(11, 2), name.mid(13, 2), name.mid(15, 2));
    return caption;
}

void TRestoreD::BackupListChange() {
    const QString name = SelectedName();
    restorePB_->setEnabled(!name.isEmpty());
    if (name.isEmpty()) {
        filesLabel_->clear();
        return;
    }
    // The files, and the years as the operator knows them.
    QStringList employees;
    QStringList years;
    Guarded(this, [&] {
        for (const std::string& file : BackupFiles(files_, S(name))) {
            if (const std::optional<std::string> year = YearOfWorkFile(file))
                years << Q(*year);
            else
                employees << Q(file);
        }
    });
    QString text = QStringLiteral("従業員のファイル: %1")
                       .arg(employees.isEmpty() ? QStringLiteral("（なし）")
                                                : employees.join(QStringLiteral("、")));
    text += QStringLiteral("\n勤務データ: %1")
                .arg(years.isEmpty() ? QStringLiteral("（なし）")
                                     : years.join(QStringLiteral("、")) + QStringLiteral(" 年"));
    filesLabel_->setText(text);
}

}  // namespace pb
