#include "gui/files/FileCommands.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QUrl>
#include <QWidget>
#include <string>
#include <utility>

#include "core/check/FolderCheck.h"
#include "core/store/DailyBackup.h"
#include "gui/files/CheckDialog.h"
#include "gui/files/RestoreDialog.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

// "Name.dat、1999_fv2.pbk".
std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : "、") + name;
    return joined;
}

ImportStart ImportStartOf(const ExportStart& start) {
    return ImportStart{start.id, start.year, start.month};
}

}  // namespace

bool AskToGoOnWithoutBackup(QWidget* window, const std::string& failure) {
    QWidget* over =
        QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : window;
    return Messages::Ask(
               over, Messages::Kind::Warning,
               Q(failure) + QStringLiteral("\n\nバックアップを作らずに変更を続けますか？\n"
                                           "（いいえ: 変更を取りやめます）"),
               Messages::Yes | Messages::No, Messages::No) == Messages::Yes;
}

FileCommands::FileCommands(FileCommandsContext context, QWidget* parent)
    : QObject(parent), context_(std::move(context)), parent_(parent) {}

void FileCommands::AddItems(QMenu* menu) {
    auto item = [&](const char* name, const QString& text, void (FileCommands::*command)()) {
        QAction* action = menu->addAction(text);
        Name(action, QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    item("OpenDataFolderItem", QStringLiteral("データフォルダを開く"),
         &FileCommands::OpenDataFolder);
    menu->addSeparator();
    exportItem_ = item("ExportItem", QStringLiteral("エクスポート(&E)..."), &FileCommands::Export);
    importItem_ =
        item("ImportItem", QStringLiteral("勤務データの取り込み(&I)..."), &FileCommands::Import);
    restoreItem_ = item("RestoreBackupItem", QStringLiteral("バックアップから復元(&R)..."),
                        &FileCommands::RestoreBackup);
    item("CheckFolderItem", QStringLiteral("データの検査(&K)"), &FileCommands::CheckFolder);
}

void FileCommands::SetExportEnabled(bool enabled) {
    exportItem_->setEnabled(enabled);
}

void FileCommands::SetReadOnly() {
    readOnly_ = true;
    importItem_->setEnabled(false);
    restoreItem_->setEnabled(false);
}

void FileCommands::SetWritable() {
    readOnly_ = false;
    importItem_->setEnabled(true);
    restoreItem_->setEnabled(true);
}

void FileCommands::Export() {
    TExportD dialog({context_.files, context_.settings.Calc_Set, RealFileSystem(),
                     &TExportD::ChooseFile, exportFolder_},
                    context_.exportStart(), parent_);
    dialog.exec();
}

void FileCommands::Import() {
    if (readOnly_)
        return;
    TImportD dialog(
        {context_.files, context_.settings, context_.fs, RealFileSystem(), &TImportD::ChooseFile,
         context_.closeWindows, [this](const ImportReport&) { context_.monthsWritten(); }},
        ImportStartOf(context_.exportStart()), parent_);
    dialog.exec();
}

void FileCommands::RestoreBackup() {
    if (readOnly_)
        return;
    if (context_.showUnsavedWindow()) {
        Messages::Information(parent_, QStringLiteral("記録されていない入力があります。\n"
                                                      "記録するか入力画面を閉じてから、"
                                                      "もう一度お試し下さい。"));
        return;
    }
    std::vector<std::string> names;
    if (!Guarded(parent_, [&] { names = BackupNames(context_.files); }))
        return;
    if (names.empty()) {
        Messages::Information(parent_,
                              QStringLiteral("バックアップはまだありません。\n"
                                             "バックアップは、その日の最初の変更の前に"
                                             "データフォルダの backup フォルダに作られます。"));
        return;
    }
    QString name;
    {
        TRestoreD dialog(context_.files, parent_);
        if (dialog.exec() != QDialog::Accepted || dialog.SelectedName().isEmpty())
            return;
        name = dialog.SelectedName();
    }
    const QString caption = TRestoreD::Caption(name);
    if (!Messages::Confirm(parent_,
                           QStringLiteral("データを %1 のバックアップに戻します。\n"
                                          "今のデータは、戻す前にバックアップされます。\n"
                                          "よろしいですか？")
                               .arg(caption),
                           Messages::No))
        return;

    // The present state first: a restore that was a mistake can be taken back.
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString kept;
    RestoredFiles done;
    if (!Guarded(parent_, [&] {
            kept = Q(BackUpBeforeRestore(context_.files, S(now)));
            done = pb::RestoreBackup(context_.files, S(name));
        }))
        return;

    context_.closeAllWindows();
    context_.folderRestored();
    QString report = QStringLiteral("データを %1 のバックアップに戻しました。\n戻したファイル: %2")
                         .arg(caption, Q(JoinNames(done.restored)));
    if (!done.removed.empty())
        report += QStringLiteral("\nバックアップになかったため削除したファイル: %1")
                      .arg(Q(JoinNames(done.removed)));
    report += QStringLiteral("\n\n戻す前のデータは「%1」のバックアップに残っています。")
                  .arg(TRestoreD::Caption(kept));
    Messages::Information(parent_, report);
}

void FileCommands::CheckFolder() {
    FolderCheckResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool checked = Guarded(parent_, [&] { result = pb::CheckFolder(context_.files); });
    QApplication::restoreOverrideCursor();
    if (!checked)
        return;
    TCheckD dialog(result, context_.folder, parent_);
    dialog.exec();
}

void FileCommands::OpenDataFolder() {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(context_.folder)))
        Messages::Information(parent_, QStringLiteral("データフォルダを開けません。\n%1")
                                           .arg(QDir::toNativeSeparators(context_.folder)));
}

}  // namespace pb
