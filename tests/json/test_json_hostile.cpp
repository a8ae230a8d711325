// Documents from the network meant to hurt: code, sheer size, depth. Each must give a clean false
// from Parse, run nothing, and leave the object usable.

#include <string>

#include <gtest/gtest.h>

#include "json/json_object.h"

namespace gedan {
namespace {

Text Repeated(std::size_t count, TextView piece) {
  Text out;
  out.reserve(count * piece.size());
  for (std::size_t i = 0; i < count; ++i) out += piece;
  return out;
}

void ExpectStillUsable(JsonObject& json) {
  ASSERT_TRUE(json.Parse(R"({"data":{"play_url":"u"}})"));
  EXPECT_EQ(json.GetText("data['play_url']"), "u");
}

TEST(JsonHostileTest, CodeIsNeverRun) {
  const Text scripts[] = {
      "(function(){while(1){}})()",
      "[1,(function(){while(1){}})()]",
      R"({"a":1}//)",
      "this.constructor.constructor('while(1){}')()",
      "\"\"+(function(){while(1){}})()",
      "1;while(1){}",
  };
  for (const Text& script : scripts) {
    SCOPED_TRACE(script);
    JsonObject json;
    EXPECT_FALSE(json.Parse(script));  // would never return if the text ran
    ExpectStillUsable(json);
  }
}

TEST(JsonHostileTest, HugeStringFailsCleanly) {
  JsonObject json;
  const Text page = "[\"" + Text(std::size_t{200} << 20, 'a') + "\"]";
  EXPECT_FALSE(json.Parse(page));
  ExpectStillUsable(json);
}

TEST(JsonHostileTest, DocumentTooBigForTheEngineFailsCleanly) {
  // Eleven megabytes of text, several hundred megabytes of arrays in the engine.
  JsonObject json;
  EXPECT_FALSE(json.Parse("[" + Repeated(4'000'000, "[],") + "[]]"));
  ExpectStillUsable(json);
}

TEST(JsonHostileTest, DeepNestingFailsCleanly) {
  const std::size_t depth = 100'000;
  const Text documents[] = {
      Text(depth, '[') + Text(depth, ']'), Repeated(depth, R"({"a":)") + "1" + Text(depth, '}'),
      Text(depth, '['),  // and never closed
  };
  for (const Text& document : documents) {
    SCOPED_TRACE(document.substr(0, 10));
    JsonObject json;
    EXPECT_FALSE(json.Parse(document));
    ExpectStillUsable(json);
  }
  // Ordinary depths still load.
  JsonObject json;
  EXPECT_TRUE(json.Parse(Text(500, '[') + Text(500, ']')));
  EXPECT_EQ(json.GetCount(), 1);
}

}  // namespace
}  // namespace gedan
