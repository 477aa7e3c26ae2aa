// Test main: takes the process locale from the environment, as the desktop program does, so
// that a run under LC_ALL=de_DE.UTF-8 proves the numbers never follow the locale.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
