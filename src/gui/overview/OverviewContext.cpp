#include "gui/overview/OverviewContext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Text.h"

namespace pb {

QString DocumentsPath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(name);
}

bool SaveChosenFile(QWidget* parent, const OverviewContext& context, const QString& name,
                    const QString& filter, const std::string& bytes) {
    const QString path = context.chooseFile(parent, DocumentsPath(name), filter);
    if (path.isEmpty())
        return false;
    if (!Guarded(parent,
                 [&] { context.target.Replace(S(path), Bytes(bytes.begin(), bytes.end())); }))
        return false;
    Messages::Information(parent, "保存しました。\n" + QDir::toNativeSeparators(path));
    return true;
}

QString ChooseSaveFile(QWidget* parent, const QString& suggested, const QString& filter) {
    QFileDialog dialog(parent, "保存先", suggested, filter);
    dialog.setObjectName("SaveFileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace pb
