#include "gui/app/FolderListing.h"

#include <QDir>
#include <QFileInfo>

namespace pb {

FolderListing::FolderListing(const QString& folder)
    : folder_(folder),
      entries_(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {}

QString FolderListing::Find(const QString& name) const {
    for (const QString& entry : entries_)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder_ + entry;
    return {};
}

QString FolderListing::SalariumProgram() const {
    const QString windowsProgram = Find(QStringLiteral("Salarium.exe"));
    if (!windowsProgram.isEmpty())
        return windowsProgram;
    const QString program = Find(QStringLiteral("Salarium"));
    if (!program.isEmpty() && QFileInfo(program).isExecutable())
        return program;
    return {};
}

}  // namespace pb
