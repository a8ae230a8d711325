#include <gtest/gtest.h>
#include <stdlib.h>

#include "catalogue/play_info_url.h"

namespace gedan {
namespace {

TEST(PlayInfoUrl, PastesHashAndAlbumIdAfterTheServiceOrigin) {
  unsetenv("GEDAN_SERVICE_ORIGIN");
  EXPECT_EQ(PlayInfoUrl("5F3A", "976"),
            "http://www.kugou.com/yy/index.php?r=play/getdata&hash=5F3A&album_id=976&_=");
  // Nothing is encoded, and empty parts stay empty.
  EXPECT_EQ(PlayInfoUrl("a b&c", ""),
            "http://www.kugou.com/yy/index.php?r=play/getdata&hash=a b&c&album_id=&_=");
}

TEST(PlayInfoUrl, EnvironmentReplacesTheOrigin) {
  setenv("GEDAN_SERVICE_ORIGIN", "http://127.0.0.1:8080", 1);
  EXPECT_EQ(PlayInfoUrl("H", "1"),
            "http://127.0.0.1:8080/yy/index.php?r=play/getdata&hash=H&album_id=1&_=");
  setenv("GEDAN_SERVICE_ORIGIN", "", 1);
  EXPECT_EQ(ServiceOrigin(), "http://www.kugou.com");
  unsetenv("GEDAN_SERVICE_ORIGIN");
}

}  // namespace
}  // namespace gedan
