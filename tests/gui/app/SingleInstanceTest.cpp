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

TEST(SingleInstance, TheNameCarriesTheUsersId) {
    qunsetenv("PUNCHBOOK_INSTANCE_NAME");
    const QString name = SingleInstance::DefaultName();
    EXPECT_TRUE(name.startsWith("hSinPBK2")) << name.toStdString();
    EXPECT_GT(name.size(), QStringLiteral("hSinPBK2").size());
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
