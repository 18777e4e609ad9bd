// gtest main for the GUI tests: one QApplication for the whole run, offscreen
// unless a platform was chosen (test discovery runs without a display). The
// tests see no printer of the machine's: a test that wants one starts a print
// system of its own (PrivateCups).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("CUPS_SERVER", "/nonexistent/punchbook-tests-have-no-printer", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
