#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "catalogue/fetch_song_list.h"
#include "catalogue/memory_song_table.h"
#include "support/loopback_server.h"
#include "support/share_page.h"
#include "text/encoding.h"
#include "text/window_side.h"

namespace gedan {
namespace {

using testing::LoopbackServer;
using testing::SharePage;

constexpr const char* kPlayInfo = "http://www.kugou.com/yy/index.php?r=play/getdata&hash=";

// GBK and GB18030 give the same bytes for the characters these pages use.
std::string GbkOf(const std::string& utf8) {
  return Utf8ToAnsi(utf8);
}

std::string GbkSharePage(const std::string& songs) {
  return GbkOf(SharePage(songs, ""));
}

const std::string kThreeSongs =
    R"([{"hash":"A1B2","song_name":"周杰伦 - 晴天","album_id":"976","filename":"x"},)"
    R"({"hash":"C3D4","song_name":"Song Two","album_id":"12"},)"
    R"({"hash":"E5F6","song_name":"第三首","album_id":"0"}])";

struct Cells {
  std::vector<Text> texts;
  int checked;
  bool operator==(const Cells&) const = default;
};

void PrintTo(const Cells& cells, std::ostream* out) {
  *out << (cells.checked == 1 ? "[x]" : "[ ]");
  for (const Text& text : cells.texts) *out << " |" << text;
}

std::vector<Cells> Snapshot(const SongTable& table) {
  std::vector<Cells> rows;
  for (int row = 0; row < table.GetItemCount(); ++row) {
    Cells cells{{}, table.GetCheckState(row)};
    for (int column = 0; column < kSongColumnCount; ++column) {
      cells.texts.push_back(table.GetItemText(row, column));
    }
    rows.push_back(cells);
  }
  return rows;
}

class FetchSongListTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("GEDAN_SERVICE_ORIGIN"); }

  // Rows a download has worked on: one checked, texts in the progress and status columns.
  void FillEarlierRows() {
    for (int row = 0; row < 2; ++row) {
      table_.InsertItem();
      for (int column = 0; column < kSongColumnCount; ++column) {
        table_.SetItemText(row, column, "old" + std::to_string(row) + std::to_string(column));
      }
    }
    table_.SetCheckState(1, 1);
  }

  void ExpectRow(int row, const std::string& nameUtf8, const Text& hash, const Text& album) {
    SCOPED_TRACE("row " + std::to_string(row));
    EXPECT_EQ(table_.GetItemText(row, kColumnIndex), std::to_string(row));
    EXPECT_EQ(table_.GetItemText(row, kColumnName), Utf8ToAnsi(nameUtf8));
    EXPECT_EQ(table_.GetItemText(row, kColumnHash), hash);
    EXPECT_EQ(table_.GetItemText(row, kColumnAlbumId), album);
    EXPECT_EQ(table_.GetItemText(row, kColumnUrl), kPlayInfo + hash + "&album_id=" + album + "&_=");
    EXPECT_EQ(table_.GetItemText(row, kColumnProgress), "");
    EXPECT_EQ(table_.GetItemText(row, kColumnStatus), "");
    EXPECT_EQ(table_.GetCheckState(row), 0);
  }

  LoopbackServer server_;
  MemorySongTable table_;
};

TEST_F(FetchSongListTest, Utf8PageWithMetaCharsetReplacesRowsInArrayOrder) {
  server_.Serve("/share", {.body = SharePage(kThreeSongs)});
  FillEarlierRows();

  const SongListResult result = FetchSongList(server_.Url("/share?id=7"), table_);

  EXPECT_EQ(result.outcome, SongListOutcome::kFilled);
  EXPECT_EQ(result.rows, 3);
  ASSERT_EQ(table_.GetItemCount(), 3);
  ExpectRow(0, "周杰伦 - 晴天", "A1B2", "976");
  ExpectRow(1, "Song Two", "C3D4", "12");
  ExpectRow(2, "第三首", "E5F6", "0");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].query, "id=7");
}

TEST_F(FetchSongListTest, GbkPageWithoutCharsetIsTakenAsIs) {
  server_.Serve("/share", {.body = GbkSharePage(kThreeSongs)});

  const SongListResult result = FetchSongList(server_.Url("/share"), table_);

  EXPECT_EQ(result.outcome, SongListOutcome::kFilled);
  ASSERT_EQ(table_.GetItemCount(), 3);
  ExpectRow(0, "周杰伦 - 晴天", "A1B2", "976");
  ExpectRow(2, "第三首", "E5F6", "0");
}

TEST_F(FetchSongListTest, RedirectedShareLinkIsFollowed) {
  server_.Serve("/t", {.status = 302, .headers = {{"Location", "/share?id=9"}}});
  server_.Serve("/share", {.body = GbkSharePage(kThreeSongs)});

  EXPECT_EQ(FetchSongList(server_.Url("/t"), table_).outcome, SongListOutcome::kFilled);
  EXPECT_EQ(table_.GetItemCount(), 3);
  EXPECT_EQ(server_.Requests().back().query, "id=9");
}

TEST_F(FetchSongListTest, EmptyListClearsTheTable) {
  server_.Serve("/share", {.body = SharePage("[]")});
  FillEarlierRows();

  const SongListResult result = FetchSongList(server_.Url("/share"), table_);

  EXPECT_EQ(result.outcome, SongListOutcome::kFilled);
  EXPECT_EQ(result.rows, 0);
  EXPECT_EQ(table_.GetItemCount(), 0);
}

TEST_F(FetchSongListTest, MembersReadAsTheJsonObjectGivesThem) {
  // A number comes out as its decimal text, a missing member as the empty text; the address is
  // built from whatever was read.
  server_.Serve("/share", {.body = SharePage(R"([{"hash":"H1","song_name":"a","album_id":976},)"
                                             R"({"hash":"H2","song_name":"b"}])")});

  FetchSongList(server_.Url("/share"), table_);

  ASSERT_EQ(table_.GetItemCount(), 2);
  ExpectRow(0, "a", "H1", "976");
  ExpectRow(1, "b", "H2", "");
}

TEST_F(FetchSongListTest, NoSongListLeavesEarlierRowsChecksAndTextsAlone) {
  struct Case {
    const char* what;
    std::string link;
    SongListOutcome outcome;
    char statusStart;  // first character of the status text
  };
  server_.Serve("/missing", {.status = 404, .body = "<html>not here</html>"});
  server_.Serve("/start-only", {.body = "var dataFromSmarty = [{\"hash\":\"H\"}];"});
  server_.Serve("/end-only", {.body = GbkOf("[{\"hash\":\"H\"}],//当前页面歌曲信息")});
  server_.Serve("/not-json", {.body = SharePage("[{hash: oops")});
  server_.Serve("/empty", {.body = ""});
  const std::vector<Case> cases = {
      {"empty link", "", SongListOutcome::kFetchFailed, '7'},
      {"nothing listening", "http://127.0.0.1:1/share", SongListOutcome::kFetchFailed, '7'},
      {"not found page", server_.Url("/missing"), SongListOutcome::kNoSongList, '4'},
      {"start marker only", server_.Url("/start-only"), SongListOutcome::kNoSongList, '2'},
      {"end marker only", server_.Url("/end-only"), SongListOutcome::kNoSongList, '2'},
      {"not JSON between markers", server_.Url("/not-json"), SongListOutcome::kNoSongList, '2'},
      {"empty page", server_.Url("/empty"), SongListOutcome::kNoSongList, '2'},
  };
  FillEarlierRows();
  const std::vector<Cells> before = Snapshot(table_);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SongListResult result = FetchSongList(c.link, table_);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.rows, 0);
    ASSERT_FALSE(result.status.empty());
    EXPECT_EQ(result.status[0], c.statusStart) << result.status;
    EXPECT_EQ(Snapshot(table_), before);
  }
}

// Records the table calls and the event pump's turns in one log, to see their order.
class RecordingTable : public MemorySongTable {
 public:
  explicit RecordingTable(std::vector<std::string>& log, int capacity = 1000)
      : log_(log), capacity_(capacity) {}
  void DeleteAllItems() override {
    log_.push_back("clear");
    MemorySongTable::DeleteAllItems();
  }
  int InsertItem() override {
    log_.push_back("insert");
    return GetItemCount() < capacity_ ? MemorySongTable::InsertItem() : -1;
  }
  void SetItemText(int row, int column, const Text& text) override {
    log_.push_back(std::to_string(row) + "." + std::to_string(column) + "=" + text);
    MemorySongTable::SetItemText(row, column, text);
  }

 private:
  std::vector<std::string>& log_;
  int capacity_;
};

class RecordingPump : public EventPump {
 public:
  explicit RecordingPump(std::vector<std::string>& log) : log_(log) {}
  void ProcessEvents() override { log_.push_back("events"); }
  void DelayWithEvents(int) override { log_.push_back("delay"); }

 private:
  std::vector<std::string>& log_;
};

class FetchSongListOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("GEDAN_SERVICE_ORIGIN");
    InstallEventPump(&pump_);
    server_.Serve("/share",
                  {.body = SharePage(R"([{"hash":"H0","song_name":"n0","album_id":"a0"},)"
                                     R"({"hash":"H1","song_name":"n1","album_id":"a1"}])")});
  }
  void TearDown() override { InstallEventPump(nullptr); }

  std::vector<std::string> log_;
  RecordingPump pump_{log_};
  LoopbackServer server_;
};

TEST_F(FetchSongListOrderTest, ClearsThenWritesEachRowAndLetsEventsThroughAfterIt) {
  RecordingTable table(log_);
  FetchSongList(server_.Url("/share"), table);

  // The request may let events through while it waits; the table is not touched before it ends.
  const auto clear = std::find(log_.begin(), log_.end(), "clear");
  ASSERT_NE(clear, log_.end());
  EXPECT_EQ(std::count(log_.begin(), clear, "events"), clear - log_.begin());
  log_.erase(log_.begin(), clear);

  const std::string url = kPlayInfo;
  const std::vector<std::string> expected = {
      "clear",  //
      "insert", "0.0=0", "0.1=n0", "0.2=H0", "0.3=a0", "0.4=" + url + "H0&album_id=a0&_=", "events",
      "insert", "1.0=1", "1.1=n1", "1.2=H1", "1.3=a1", "1.4=" + url + "H1&album_id=a1&_=", "events",
  };
  EXPECT_EQ(log_, expected);
}

TEST_F(FetchSongListOrderTest, StopsWhenTheTableTakesNoMoreRows) {
  RecordingTable table(log_, /*capacity=*/1);
  const SongListResult result = FetchSongList(server_.Url("/share"), table);

  EXPECT_EQ(result.outcome, SongListOutcome::kAbandoned);
  EXPECT_EQ(result.rows, 1);
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_.back(), "insert");
  EXPECT_EQ(table.GetItemCount(), 1);
}

}  // namespace
}  // namespace gedan
