#pragma once

// Turns a share link into rows of the song table: fetches the page, reads the song list it embeds
// (SongPage) and, only when there is one, clears the table and writes one unchecked row per song:
// column 0 the row's index, 1 the name, 2 the hash, 3 the album id, 4 its PlayInfoUrl. Events are
// let through (ProcessEvents) after each row, so a window stays responsive during a long fill.
//
//   MemorySongTable table;
//   SongListResult result = FetchSongList(link, table);
//   if (result.outcome != SongListOutcome::kFilled) Complain(result.status);
//
// When there is no list (the request failed, the page has no song data, the data is not JSON) the
// table is left exactly as it was.

#include "catalogue/song_table.h"
#include "text/value.h"

namespace gedan {

enum class SongListOutcome {
  kFilled,       // the table holds the page's songs (none for an empty list)
  kFetchFailed,  // the request failed: status holds the failure text ("702 ...")
  kNoSongList,   // a page arrived (status "200 OK", "404 Not Found", ...) without a song list
  kAbandoned,    // the table stopped taking rows (its window closed) before the fill ended
};

struct SongListResult {
  SongListOutcome outcome = SongListOutcome::kFetchFailed;
  int rows = 0;  // rows written
  Text status;   // the HTTP client's status text of the page request
};

SongListResult FetchSongList(TextView shareLink, SongTable& table);

}  // namespace gedan
