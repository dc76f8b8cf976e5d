#include <QApplication>
#include "shell/AppFormats.h"
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Windows are driven headless; gtest_discover_tests also runs this binary at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyAppFormats();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
