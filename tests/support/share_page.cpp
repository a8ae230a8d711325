#include "support/share_page.h"

namespace gedan::testing {

std::string SharePage(const std::string& songsJson, const std::string& head) {
  return "<html><head>" + head + "<title>歌单</title></head><body><script>\n" +
         "var dataFromSmarty = " + songsJson +
         ",//当前页面歌曲信息\nvar other = 1;\n</script></body></html>";
}

}  // namespace gedan::testing
