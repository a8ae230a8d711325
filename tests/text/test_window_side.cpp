#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "text/encoding.h"
#include "text/window_side.h"

namespace gedan {
namespace {

namespace fs = std::filesystem;

// A fresh directory of its own under the system's temporary directory, removed afterwards.
class MakeDirectoryTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "gedan-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // The path as internal text, as the download code hands it over.
  Text Path(const std::string& utf8Name) const { return Utf8ToAnsi((root_ / utf8Name).string()); }

  fs::path root_;
};

TEST_F(MakeDirectoryTest, CreatesOneNewDirectory) {
  EXPECT_TRUE(MakeDirectory(Path("songs")));
  EXPECT_TRUE(fs::is_directory(root_ / "songs"));
}

TEST_F(MakeDirectoryTest, NamesTheDirectoryInUtf8) {
  EXPECT_TRUE(MakeDirectory(Path("歌单")));
  EXPECT_TRUE(fs::is_directory(root_ / "歌单"));
}

TEST_F(MakeDirectoryTest, RefusesAnExistingDirectoryAMissingParentAndAnEmptyPath) {
  ASSERT_TRUE(MakeDirectory(Path("songs")));
  EXPECT_FALSE(MakeDirectory(Path("songs")));
  EXPECT_FALSE(MakeDirectory(Path("missing/songs")));
  EXPECT_FALSE(fs::exists(root_ / "missing"));
  EXPECT_FALSE(MakeDirectory(""));
}

}  // namespace
}  // namespace gedan
