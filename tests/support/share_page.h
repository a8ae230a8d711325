#pragma once

// A share page as the service writes it, for the tests of everything that fetches one: the song
// list assigned to a script variable and followed by a comment, inside a page around it.
//
//   server.Serve("/share", {.body = SharePage(R"([{"hash":"A1","song_name":"晴天"}])")});

#include <string>

namespace gedan::testing {

// UTF-8 text; `head` goes into the page's head (by default a meta tag declaring UTF-8).
std::string SharePage(const std::string& songsJson,
                      const std::string& head = "<meta charset=\"utf-8\">");

}  // namespace gedan::testing
