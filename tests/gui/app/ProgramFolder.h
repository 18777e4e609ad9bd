#pragma once
// A temporary program folder for a main-window test.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace pb::test {

class ProgramFolder {
  public:
    ProgramFolder() = default;

    // The folder path, ending in "/".
    QString Path() const { return dir_.path() + QLatin1Char('/'); }
    QString File(const QString& name) const { return dir_.filePath(name); }

    // Copies every file of the sample program folder.
    void CopySamples() const {
        const QDir samples(QStringLiteral(PUNCHBOOK_SAMPLES_DIR "/folder"));
        for (const QString& name : samples.entryList(QDir::Files))
            QFile::copy(samples.filePath(name), File(name));
        for (const QString& name : QDir(Path()).entryList(QDir::Files))
            QFile(File(name)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void Write(const QString& name, const QByteArray& content = {}) const {
        QFile file(File(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    QByteArray Read(const QString& name) const {
        QFile file(File(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    bool Exists(const QString& name) const { return QFile::exists(File(name)); }

  private:
    QTemporaryDir dir_;
};

}  // namespace pb::test
