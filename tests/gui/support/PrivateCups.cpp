#include "support/PrivateCups.h"

#include <cups/cups.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace pb::test {

namespace {

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

}  // namespace

PrivateCups::PrivateCups() {
    if (!Start() && error_.isEmpty())
        error_ = "the private print system did not start";
}

PrivateCups::~PrivateCups() {
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000)) {
            daemon_.kill();
            daemon_.waitForFinished(2000);
        }
    }
    if (previousServer_.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", previousServer_);
    cupsSetServer(nullptr);  // back to what the environment says
}

bool PrivateCups::Start() {
    if (!dir_.isValid())
        return false;
    const QString root = dir_.path();
    socket_ = root + "/cups.sock";
    // The daemon's filters run as user lp, which must reach the spool.
    chmod(QFile::encodeName(root).constData(), 0755);
    for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "state", "log", "out", "pdfspool"})
        QDir(root).mkpath(sub);
    chmod(QFile::encodeName(root + "/spool/tmp").constData(), 01777);

    const bool written =
        WriteText(root + "/etc/cupsd.conf",
                  "Listen " + socket_ +
                      "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                      "</Policy>\n") &&
        WriteText(root + "/etc/cups-files.conf",
                  "ServerRoot " + root + "/etc\nRequestRoot " + root + "/spool\nTempDir " + root +
                      "/spool/tmp\nCacheDir " + root + "/cache\nStateDir " + root +
                      "/state\nAccessLog " + root + "/log/access_log\nErrorLog " + root +
                      "/log/error_log\nPageLog " + root + "/log/page_log\nSystemGroup root\n") &&
        WriteText(root + "/etc/cups-pdf.conf", "Out " + root + "/out\nAnonDirName " + root +
                                                   "/out\nSpool " + root + "/pdfspool\nLog " +
                                                   root + "/log\n");
    if (!written) {
        error_ = "cannot write the print system's configuration in " + root;
        return false;
    }

    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    // The daemon must not outlive a test that crashes.
    daemon_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon_.start("unshare",
                  {"--mount", "--propagation", "private", "sh", "-c",
                   "mount --bind \"$0/etc\" /etc/cups && exec cupsd -f -c \"$0/etc/cupsd.conf\" "
                   "-s \"$0/etc/cups-files.conf\"",
                   root});
    if (!daemon_.waitForStarted(5000)) {
        error_ = "cannot start unshare: " + daemon_.errorString();
        return false;
    }

    previousServer_ = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(socket_));
    cupsSetServer(QFile::encodeName(socket_).constData());

    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (daemon_.state() == QProcess::NotRunning) {
            error_ = "cupsd ended: " + QString::fromLocal8Bit(daemon_.readAll());
            return false;
        }
        if (QFile::exists(socket_) && Run("lpstat", {"-o"}))  // fails until it answers
            return true;
        QThread::msleep(50);
    }
    error_ = "cupsd did not answer on " + socket_;
    return false;
}

bool PrivateCups::Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool PrivateCups::AddPdfQueue(const QString& name, bool makeDefault) {
    return Run("lpadmin", {"-p", name, "-E", "-v", "cups-pdf:/", "-P",
                           "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                           "pdftops-renderer-default=pdftocairo"}) &&
           (!makeDefault || Run("lpadmin", {"-d", name}));
}

QStringList PrivateCups::WaitForOutput(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QStringList files;
    do {
        QProcess jobs;
        jobs.start("lpstat", {"-o"});
        jobs.waitForFinished(10000);
        files = QDir(OutputFolder()).entryList({"*.pdf"}, QDir::Files, QDir::Name);
        if (jobs.readAllStandardOutput().trimmed().isEmpty() && !files.isEmpty())
            break;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    for (QString& file : files)
        file = QDir(OutputFolder()).filePath(file);
    return files;
}

}  // namespace pb::test
