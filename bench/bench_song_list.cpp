// What the song-list retrieval does with one share page: parse the song array, count it, and read
// hash, name and album id of every song. Against it, the same reads done natively on the same
// engine (one JSON.parse and direct property reads), the floor for any design on this engine.

#include <string>

#include <benchmark/benchmark.h>
#include <duktape.h>

#include "json/engine_text.h"
#include "json/json_object.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace gedan {
namespace {

// A song array shaped like the one a share page embeds: a few more members than are read, names
// in Chinese, album ids sometimes as numbers.
Text SongArray(int count) {
  std::string utf8 = "[";
  for (int k = 0; k < count; ++k) {
    const std::string n = std::to_string(k);
    if (k > 0) utf8 += ',';
    utf8 += R"({"hash":")" + std::string(32 - n.size(), 'A') + n + R"(",)";
    utf8 += R"("song_name":"歌手)" + n + R"( - 第)" + n + R"(首歌 Live",)";
    if (k % 2) {
      utf8 += R"("album_id":)" + n + ",";
    } else {
      utf8 += R"("album_id":")" + std::to_string(900000 + k) + R"(",)";
    }
    utf8 += R"("author_name":"歌手)" + n + R"(","duration":)" + std::to_string(180 + k % 120);
    utf8 += R"(,"filesize":)" + std::to_string(3000000 + k * 17) + R"(,"bitrate":128,)";
    utf8 += R"("extra":{"privilege":8,"remark":"\u6d4b\u8bd5"}})";
  }
  utf8 += "]";
  return Utf8ToAnsi(utf8);
}

void SetPageLabel(benchmark::State& state, const Text& page) {
  state.SetLabel(std::to_string(page.size() / 1024) + " KiB");
  state.counters["songs"] = static_cast<double>(state.range(0));
}

// The three reads the song-list fetch makes per song, with the paths it builds.
void ReadSongs(JsonObject& da, int count) {
  for (int k = 0; k < count; ++k) {
    const Text index = ToText(static_cast<double>(k));
    Text hash = da.GetText("[" + index + "].hash");
    Text name = da.GetText("[" + index + "]['song_name']");
    Text album = da.GetText("[" + index + "]['album_id']");
    benchmark::DoNotOptimize(hash);
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(album);
  }
}

void BM_SongListJsonObject(benchmark::State& state) {
  const Text page = SongArray(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    JsonObject da;
    if (!da.Parse(page)) state.SkipWithError("the page did not parse");
    TextArray names;
    const int count = da.GetMemberNames(names);
    ReadSongs(da, count);
  }
  SetPageLabel(state, page);
}

duk_ret_t DecodeJson(duk_context* ctx, void*) {
  duk_json_decode(ctx, -1);
  return 1;
}

Text ReadMember(duk_context* ctx, duk_idx_t object, const char* key) {
  Text text;
  duk_get_prop_string(ctx, object, key);
  duk_size_t length = 0;
  const char* chars = duk_safe_to_lstring(ctx, -1, &length);
  text = FromEngineText(std::string_view(chars, length));
  duk_pop(ctx);
  return text;
}

void BM_SongListNativeReads(benchmark::State& state) {
  const Text page = SongArray(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    duk_context* ctx = duk_create_heap_default();
    const std::string utf8 = ToEngineText(page);
    duk_push_lstring(ctx, utf8.data(), utf8.size());
    if (duk_safe_call(ctx, DecodeJson, nullptr, 1, 1) != DUK_EXEC_SUCCESS) {
      state.SkipWithError("the page did not parse");
    }
    const auto count = static_cast<duk_uarridx_t>(duk_get_length(ctx, -1));
    for (duk_uarridx_t k = 0; k < count; ++k) {
      duk_get_prop_index(ctx, -1, k);
      Text hash = ReadMember(ctx, -1, "hash");
      Text name = ReadMember(ctx, -1, "song_name");
      Text album = ReadMember(ctx, -1, "album_id");
      benchmark::DoNotOptimize(hash);
      benchmark::DoNotOptimize(name);
      benchmark::DoNotOptimize(album);
      duk_pop(ctx);
    }
    duk_destroy_heap(ctx);
  }
  SetPageLabel(state, page);
}

// The parts of BM_SongListJsonObject, to see where its time goes.

void BM_EngineStart(benchmark::State& state) {
  for (auto _ : state) {
    JsonObject da;
    benchmark::DoNotOptimize(da);
  }
}

void BM_Parse(benchmark::State& state) {
  const Text page = SongArray(static_cast<int>(state.range(0)));
  JsonObject da;
  for (auto _ : state) benchmark::DoNotOptimize(da.Parse(page));
  SetPageLabel(state, page);
}

void BM_MemberNames(benchmark::State& state) {
  JsonObject da;
  da.Parse(SongArray(static_cast<int>(state.range(0))));
  TextArray names;
  for (auto _ : state) benchmark::DoNotOptimize(da.GetMemberNames(names));
}

// A page that is nothing but a long array of zeros: counting it must stay linear in its length.
void BM_MemberNamesOfLongArray(benchmark::State& state) {
  Text page = "[";
  for (std::int64_t k = 1; k < state.range(0); ++k) page += "0,";
  page += "0]";
  JsonObject da;
  da.Parse(page);
  TextArray names;
  for (auto _ : state) benchmark::DoNotOptimize(da.GetMemberNames(names));
  state.SetComplexityN(state.range(0));
}

void BM_ReadSongs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  JsonObject da;
  da.Parse(SongArray(count));
  for (auto _ : state) {
    ReadSongs(da, count);
  }
}

BENCHMARK(BM_SongListJsonObject)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SongListNativeReads)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemberNames)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemberNamesOfLongArray)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSongs)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gedan
