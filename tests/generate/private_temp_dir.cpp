// Gives the generate tests a temporary directory of their own: the checks that no "orv"
// temporary copy is left behind must not see the copies of other programs running at the
// same time. orvix-cli started by the tests inherits it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class private_temporary_directory : public testing::Environment {
  public:
    void SetUp() override {
        // Named like the tests' scratch folders, which every check of /tmp passes over.
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvix-test-generate-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        path_ = pattern;
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

  private:
    std::string path_;
};

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new private_temporary_directory);

}  // namespace
