#include "gui/app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QByteArray>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>

namespace pb {

namespace {

// What a later start writes; anything else on the socket is ignored.
constexpr char kActivate[] = "activate\n";
constexpr std::size_t kActivateSize = sizeof(kActivate) - 1;
// No request is longer; a caller that sends more without a line end is cut off.
constexpr qsizetype kLongestLine = 256;

// The name in the abstract namespace: a leading zero byte, then the name's
// bytes, the address exactly as long as that. False when the name is empty or
// does not fit.
bool AbstractAddress(const QString& name, sockaddr_un& address, socklen_t& length) {
    const QByteArray bytes = name.toUtf8();
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) > sizeof(address.sun_path) - 1)
        return false;
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 +
                                    static_cast<std::size_t>(bytes.size()));
    return true;
}

// One later start's connection: reads its line, then hangs up.
class Request final : public QObject {
  public:
    Request(int fd, std::function<void()> activate, QObject* parent)
        : QObject(parent),
          fd_(fd),
          activate_(std::move(activate)),
          readable_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(readable_, &QSocketNotifier::activated, this, &Request::Read);
    }
    ~Request() override {
        delete readable_;
        ::close(fd_);
    }

  private:
    void Read() {
        char piece[64];
        for (;;) {
            const ssize_t got = ::read(fd_, piece, sizeof piece);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;  // the rest of the line is still on its way
            if (got <= 0)
                break;  // hung up or failed before a whole line
            line_.append(piece, got);
            if (const qsizetype end = line_.indexOf('\n'); end >= 0) {
                if (line_.first(end + 1) == kActivate)
                    activate_();
                break;
            }
            if (line_.size() > kLongestLine)
                break;
        }
        readable_->setEnabled(false);
        deleteLater();  // closes the connection: the caller learns the request arrived
    }

    int fd_;
    std::function<void()> activate_;
    QSocketNotifier* readable_;
    QByteArray line_;
};

// Closes a descriptor when the scope ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
    delete waiting_;
    if (listening_ >= 0)
        ::close(listening_);
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
    if (listening_ >= 0)
        return true;
    sockaddr_un address;
    socklen_t length = 0;
    if (!AbstractAddress(name_, address, length))
        return false;
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.fd < 0 ||
        ::bind(socket.fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        ::listen(socket.fd, SOMAXCONN) != 0)
        return false;
    listening_ = socket.fd;
    socket.fd = -1;
    waiting_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(waiting_, &QSocketNotifier::activated, this, &SingleInstance::AcceptWaiting);
    return true;
}

void SingleInstance::AcceptWaiting() {
    for (;;) {
        const int fd = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;  // none waiting any more
        }
        new Request(
            fd, [this] { emit ActivationRequested(); }, this);
    }
}

bool SingleInstance::SignalRunningCopy(int timeoutMs) const {
    sockaddr_un address;
    socklen_t length = 0;
    if (!AbstractAddress(name_, address, length))
        return false;
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return false;
    // Each wait below (a full queue of connections, the write, the hang-up)
    // ends after the time given; zero would mean forever.
    const int ms = std::max(timeoutMs, 1);
    const timeval limit{ms / 1000, static_cast<suseconds_t>((ms % 1000) * 1000)};
    ::setsockopt(socket.fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(socket.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    int connected = 0;
    do
        connected = ::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), length);
    while (connected != 0 && errno == EINTR);
    if (connected != 0)
        return false;  // nobody listens, or the queue stayed full
    if (::send(socket.fd, kActivate, kActivateSize, MSG_NOSIGNAL) !=
        static_cast<ssize_t>(kActivateSize))
        return false;
    // The first copy hangs up once it has read the request; waiting for that
    // keeps this process alive until the request has really arrived.
    for (;;) {
        char ignored = 0;
        const ssize_t got = ::read(socket.fd, &ignored, 1);
        if (got == 0 || (got < 0 && errno != EINTR))
            break;
    }
    return true;
}

}  // namespace pb
