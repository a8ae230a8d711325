#include "catalogue/fetch_song_list.h"

#include "catalogue/play_info_url.h"
#include "catalogue/song_page.h"
#include "http/web_access.h"
#include "text/numbers.h"
#include "text/window_side.h"

namespace gedan {
namespace {

// The HTTP client's failure texts are numbered 700 and up; an HTTP status is below 600.
bool IsRequestFailure(const Text& page, const Text& status) {
  return page.empty() && (status.empty() || status[0] == '7');
}

}  // namespace

SongListResult FetchSongList(TextView shareLink, SongTable& table) {
  SongPage songs;
  SongListResult result;
  WebRequest request;
  request.url = Text(shareLink);
  WebOutputs outputs;
  outputs.status = &result.status;
  const Text page = WebAccess(request, outputs);
  if (!songs.Load(page)) {
    result.outcome = IsRequestFailure(page, result.status) ? SongListOutcome::kFetchFailed
                                                           : SongListOutcome::kNoSongList;
    return result;
  }

  const int count = songs.Count();
  table.DeleteAllItems();
  result.outcome = SongListOutcome::kFilled;
  for (int k = 0; k < count; ++k) {
    const int row = table.InsertItem();
    if (row < 0) {
      result.outcome = SongListOutcome::kAbandoned;
      break;
    }
    const SongEntry song = songs.Entry(k);
    table.SetItemText(row, kColumnIndex, ToText(row));
    table.SetItemText(row, kColumnName, song.name);
    table.SetItemText(row, kColumnHash, song.hash);
    table.SetItemText(row, kColumnAlbumId, song.albumId);
    table.SetItemText(row, kColumnUrl, PlayInfoUrl(song.hash, song.albumId));
    ++result.rows;
    ProcessEvents();
  }
  return result;
}

}  // namespace gedan
