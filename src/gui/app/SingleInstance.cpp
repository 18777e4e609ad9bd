#include "gui/app/SingleInstance.h"

#include <unistd.h>
#include <QLocalSocket>
#include <QRegularExpression>

namespace pb {

namespace {
// What a later start writes; anything else on the socket is ignored.
constexpr char kActivate[] = "activate\n";
}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine();
                socket->disconnectFromServer();
                if (line == kActivate)
                    emit ActivationRequested();
            });
        }
    });
}

QString SingleInstance::DefaultName() {
    const QString override = qEnvironmentVariable("PUNCHBOOK_INSTANCE_NAME");
    if (!override.isEmpty())
        return override;
    return NameFor(getuid(), qEnvironmentVariable("WAYLAND_DISPLAY"),
                   qEnvironmentVariable("DISPLAY"));
}

QString SingleInstance::NameFor(unsigned uid, const QString& waylandDisplay,
                                const QString& x11Display) {
    QString display = waylandDisplay;
    if (display.isEmpty()) {
        // ":0" and ":0.0" are one display; only the screen number differs.
        static const QRegularExpression screen(QStringLiteral("(:\\d+)\\.\\d+$"));
        display = x11Display;
        display.replace(screen, QStringLiteral("\\1"));
    }
    QString name = QStringLiteral("hSinPBK2") + QString::number(uid);
    if (!display.isEmpty())
        name += QLatin1Char('@') + display;
    return name;
}

bool SingleInstance::Acquire() {
    if (server_.isListening())
        return true;
    return server_.listen(name_);
}

bool SingleInstance::SignalRunningCopy(int timeoutMs) const {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The first copy hangs up once it has read the request; waiting for that
    // keeps this process alive until the request has really arrived.
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

}  // namespace pb
