// One copy per user: the lock, and a second start of the real program.
#include "gui/app/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QUuid>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "app/ProgramFolder.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

QString UniqueName() {
    return QStringLiteral("pbtest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstance, TheLockIsHeldUntilItsHolderGoes) {
    const QString name = UniqueName();
    auto first = std::make_unique<SingleInstance>(name);
    ASSERT_TRUE(first->Acquire());
    SingleInstance second(name);
    EXPECT_FALSE(second.Acquire());

    first.reset();  // the first copy ends
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstance, TheNameCarriesTheUsersIdAndDisplay) {
    qunsetenv("PUNCHBOOK_INSTANCE_NAME");
    const QString name = SingleInstance::DefaultName();
    EXPECT_TRUE(name.startsWith("hSinPBK2")) << name.toStdString();
    EXPECT_GT(name.size(), QStringLiteral("hSinPBK2").size());

    const struct {
        const char* wayland;
        const char* x11;
        const char* name;
    } cases[] = {
        {"", ":0", "hSinPBK21000@:0"},
        {"", ":0.1", "hSinPBK21000@:0"},                      // another screen of the same display
        {"", "localhost:10.0", "hSinPBK21000@localhost:10"},  // a remote login
        {"wayland-1", ":0", "hSinPBK21000@wayland-1"},
        {"", "", "hSinPBK21000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SingleInstance::NameFor(1000, QString::fromLatin1(c.wayland),
                                          QString::fromLatin1(c.x11)),
                  QString::fromLatin1(c.name))
            << c.wayland << " " << c.x11;
}

TEST(SingleInstance, NobodyToSignalWhenNoCopyRuns) {
    SingleInstance lonely(UniqueName());
    EXPECT_FALSE(lonely.SignalRunningCopy(200));
}

// A connection to the running copy's name, as another program could make one.
int ConnectTo(const QString& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = name.toUtf8();
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 +
                                               static_cast<std::size_t>(bytes.size()));
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Only the request line asks the copy to the front, however it arrives; other
// lines, silence and endless text do not, and each caller is hung up on.
TEST(SingleInstance, OnlyTheRequestLineBringsTheCopyToTheFront) {
    const QString name = UniqueName();
    SingleInstance running(name);
    ASSERT_TRUE(running.Acquire());
    QSignalSpy asked(&running, &SingleInstance::ActivationRequested);

    const struct {
        std::vector<std::string> pieces;
        int activations;
    } cases[] = {
        {{"activate\n"}, 1},
        {{"acti", "vate\n"}, 1},        // in two pieces
        {{"activate\nactivate\n"}, 1},  // one request per connection
        {{"hello\n"}, 0},
        {{"activate"}, 0},  // the caller hangs up before the line ends
        {{}, 0},            // connected and left
        {{std::string(1000, 'a')}, 0},
    };
    for (const auto& c : cases) {
        const int fd = ConnectTo(name);
        ASSERT_GE(fd, 0);
        for (const std::string& piece : c.pieces) {
            ASSERT_EQ(::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL),
                      static_cast<ssize_t>(piece.size()));
            test::ProcessEvents(10);
        }
        ::shutdown(fd, SHUT_WR);  // the caller is done, or leaves unfinished
        // The copy hangs up once it has what it reads (a reset when it left
        // text unread).
        bool hungUp = false;
        for (int i = 0; i < 100 && !hungUp; ++i) {
            test::ProcessEvents(5);
            char byte = 0;
            const ssize_t got = ::recv(fd, &byte, 1, MSG_DONTWAIT);
            hungUp = got == 0 || (got < 0 && errno == ECONNRESET);
        }
        ::close(fd);
        EXPECT_TRUE(hungUp) << c.pieces.size();
        EXPECT_EQ(asked.count(), c.activations) << (c.pieces.empty() ? "" : c.pieces[0]);
        asked.clear();
    }
}

// The test process plays the running copy; the real program is the second start.
TEST(SingleInstance, ASecondStartOfTheProgramAsksTheFirstAndEndsWithZero) {
    const QString name = UniqueName();
    SingleInstance running(name);
    ASSERT_TRUE(running.Acquire());
    QSignalSpy asked(&running, &SingleInstance::ActivationRequested);

    test::ProgramFolder folder;
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PUNCHBOOK_INSTANCE_NAME", name);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(folder.Path());
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(PUNCHBOOK_BINARY_DIR "/punchbook"), {});
    ASSERT_TRUE(second.waitForStarted(5000));

    // The running copy must keep serving its event loop while the second waits.
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 5000)
        test::ProcessEvents(10);
    EXPECT_EQ(second.state(), QProcess::NotRunning);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    test::ProcessEvents(50);
    EXPECT_EQ(asked.count(), 1);
}

}  // namespace
}  // namespace pb
