#include <ostream>
#include <string>

#include "catalogue/fetch_song_list.h"
#include "catalogue/memory_song_table.h"
#include "cli/commands.h"
#include "text/encoding.h"

namespace gedan::cli {
namespace {

// A cell as UTF-8 within its field: a tab or line break from the page would split the song's line.
std::string FieldText(const Text& cell) {
  std::string text = AnsiToUtf8(cell);
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

void PrintRows(const SongTable& table, std::ostream& out) {
  constexpr int kColumns[] = {kColumnIndex, kColumnName, kColumnHash, kColumnAlbumId, kColumnUrl};
  for (int row = 0; row < table.GetItemCount(); ++row) {
    const char* separator = "";
    for (int column : kColumns) {
      out << separator << FieldText(table.GetItemText(row, column));
      separator = "\t";
    }
    out << '\n';
  }
}

}  // namespace

int RunList(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "gedan-cli: list takes one share link (gedan-cli list SHARE_LINK)\n";
    return kExitUsage;
  }
  const std::string& link = args[0];
  MemorySongTable table;
  const SongListResult result = FetchSongList(Utf8ToAnsi(link), table);
  switch (result.outcome) {
    case SongListOutcome::kFilled:
    case SongListOutcome::kAbandoned:
      PrintRows(table, out);
      out.flush();
      if (out) return kExitOk;
      err << "gedan-cli: cannot write the song list to standard output\n";
      return kExitFailed;
    case SongListOutcome::kFetchFailed:
      err << "gedan-cli: cannot fetch " << link;
      if (!result.status.empty()) err << ": " << AnsiToUtf8(result.status);
      err << '\n';
      return kExitFailed;
    case SongListOutcome::kNoSongList:
      err << "gedan-cli: the page at " << link << " holds no song list";
      if (!result.status.empty()) err << " (HTTP " << AnsiToUtf8(result.status) << ")";
      err << '\n';
      return kExitFailed;
  }
  return kExitFailed;
}

}  // namespace gedan::cli
