#pragma once
// The files of the program folder, listed once for several look-ups by name.

#include <QString>
#include <QStringList>

namespace pb {

class FolderListing {
  public:
    // `folder` ends in "/".
    explicit FolderListing(const QString& folder);

    // The full name of the file that is `name` without regard to case, or "".
    QString Find(const QString& name) const;
    bool Has(const QString& name) const { return !Find(name).isEmpty(); }
    // The payroll program Salarium beside the data: "Salarium.exe", else an
    // executable "Salarium"; "" when there is neither.
    QString SalariumProgram() const;

  private:
    QString folder_;
    QStringList entries_;
};

}  // namespace pb
