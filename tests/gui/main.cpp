// SPDX-License-Identifier: GPL-3.0-or-later
// The GUI tests run real windows on Qt's offscreen platform, each in a fresh VERBANTA_HOME.

#include <QApplication>
#include <gtest/gtest.h>

// Qt's own threads (the audio sample loader, the speech server) may still hold memory when a test program
// ends, so the GUI tests leave the leak check to the core tests and the fuzzers. ASAN_OPTIONS overrides it.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
