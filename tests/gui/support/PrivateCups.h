#pragma once
// A print system of the test's own: a cupsd whose configuration, spool, logs and
// socket lie in a temporary folder, with PDF queues that write their pages there.
// The machine's print system is left as it is: the daemon runs in a mount
// namespace of its own where that folder stands in for /etc/cups (the PDF
// backend reads its settings from there), and this process reaches it through
// its socket. The daemon ends with the object, or with the test process.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace pb::test {

class PrivateCups {
  public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the daemon runs, else why it does not.
    QString Error() const { return error_; }

    // Adds a queue that turns each job into a PDF in OutputFolder().
    bool AddPdfQueue(const QString& name, bool makeDefault);
    // Runs a print-system command (lpadmin, cupsdisable, ...) against this
    // daemon; false when it fails.
    bool Run(const QString& program, const QStringList& args);

    QString OutputFolder() const { return dir_.filePath("out"); }
    // Waits until no job is pending and returns the PDFs the queues wrote.
    QStringList WaitForOutput(int timeoutMs = 30000);

  private:
    bool Start();

    QTemporaryDir dir_;
    QProcess daemon_;
    QString socket_;
    QByteArray previousServer_;
    QString error_;
};

}  // namespace pb::test
