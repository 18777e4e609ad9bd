// One copy per user: the lock, and a second start of the real program.
#include "gui/app/SingleInstance.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QUuid>

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
