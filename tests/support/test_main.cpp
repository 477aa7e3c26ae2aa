// Test main: takes the process locale from the environment, as the desktop program does, so
// that a run under LC_ALL=de_DE.UTF-8 proves the numbers never follow the locale. Each test
// process gets a temporary directory of its own, so that checks for left-over temporary
// copies are not disturbed by tests running beside it.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::string dir = (std::filesystem::temp_directory_path() / "orvix-tests-XXXXXX").string();
    if (::mkdtemp(dir.data()) != nullptr) ::setenv("TMPDIR", dir.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return status;
}
