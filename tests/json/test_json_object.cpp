#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "json/json_object.h"
#include "text/encoding.h"

namespace gedan {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Expected internal texts are written in UTF-8 here and converted, so the file's own encoding
// never matters.
Text G(std::string_view utf8) {
  return Utf8ToAnsi(utf8);
}

const Text kTwoSongs =
    G(R"([{"hash":"A1","song_name":"晴天","album_id":"7"},)"
      R"({"hash":"B2","song_name":"Say \"hi\"\n😀","album_id":8,"id":12345678901234}])");
const Text kAllKinds = R"({"a":null,"s":"x","n":1,"b":true,"o":{},"r":[]})";

JsonObject Parsed(TextView text) {
  JsonObject json;
  EXPECT_TRUE(json.Parse(text)) << text;
  return json;
}

TEST(JsonObjectTest, ParseAcceptsJsonValuesOnly) {
  struct Case {
    Text text;
    bool loaded;
  } cases[] = {
      {kTwoSongs, true},
      {kAllKinds, true},
      {"123", true},
      {"\"text\"", true},
      {"  [1, 2]\n", true},
      {"false", true},
      {"null", false},  // loads nothing
      {"", false},
      {"[1,2", false},
      {"{'a':1}", false},  // a script literal, not JSON
      {"{a:1}", false},
      {"[1,2]; x=1", false},
      {"new Array(3)", false},
      {"(function(){while(1){}})()", false},  // would never end if it ran
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    JsonObject json;
    EXPECT_EQ(json.Parse(c.text), c.loaded);
  }
}

// What the song-list retrieval reads: the member names of the root array, then three texts per
// song by paths that begin with "[".
TEST(JsonObjectTest, SongListReads) {
  JsonObject songs = Parsed(kTwoSongs);
  TextArray names = {"stale"};
  EXPECT_EQ(songs.GetMemberNames(names), 2);
  EXPECT_THAT(names, ElementsAre("0", "1"));

  struct Case {
    const char* path;
    Text text;
  } cases[] = {
      {"[0].hash", "A1"},
      {"[1].hash", "B2"},
      {"[0]['song_name']", G("晴天")},
      {"[1]['song_name']", G("Say \"hi\"\n😀")},
      {"[0]['album_id']", "7"},
      {"[1]['album_id']", "8"},      // a number, read by the text route
      {"[1].id", "12345678901234"},  // whole numbers stay in plain digits
      {"[2].hash", ""},              // no third song
      {"[1]['missing']", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(songs.GetText(c.path), c.text);
  }
  EXPECT_EQ(songs.GetType("[0].hash"), kJsonOther);
  EXPECT_EQ(songs.GetText("[1]", true),
            G(R"({"hash":"B2","song_name":"Say \"hi\"\n😀","album_id":8,"id":12345678901234})"));
}

TEST(JsonObjectTest, KindsOfValues) {
  JsonObject all = Parsed(kAllKinds);
  struct Case {
    const char* path;
    int kind;
  } cases[] = {
      {"a", kJsonNull},
      {"s", kJsonString},
      {"n", kJsonNumber},
      {"b", kJsonBoolean},
      {"o", kJsonObject},
      {"r", kJsonArray},
      {"missing", kJsonNull},
      {"", kJsonObject},
      {"s.length", kJsonNumber},
      {"[0]", kJsonOther},
      {"missing.deeper", kJsonOther},
      {"n(", kJsonOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(all.GetType(c.path), c.kind);
  }
  EXPECT_EQ(Parsed("[1]").GetType(), kJsonArray);
  EXPECT_EQ(Parsed("\"s\"").GetType(), kJsonString);
}

TEST(JsonObjectTest, TextsByPath) {
  struct Case {
    Text document;
    const char* path;
    Text text;
  } cases[] = {
      {R"({"data":{"play_url":"u"}})", "data['play_url']", "u"},
      {R"({"data":{"play_url":"http://a/b.mp3?x=1&y=\u4e2d"}})", "data['play_url']",
       G("http://a/b.mp3?x=1&y=中")},
      {R"({"data":{}})", "data['play_url']", ""},
      {R"({"err":1})", "data['play_url']", ""},  // a member of undefined
      {R"({"data":null})", "data['play_url']", ""},
      {R"({"a":{"b":1.5}})", "a.b", "1.5"},
      {R"({"a":{"b":0.1}})", "a.b", "0.1"},
      {R"({"n":12345678901234})", "n", "1.234567890123e+13"},  // numbers by path: "%.13g"
      {R"({"n":-3})", "n", "-3"},
      {R"({"b":false})", "b", "false"},
      {R"({"z":null})", "z", ""},
      {R"({"o":{"k":[1,"2"]}})", "o.k[1]", "2"},
      {R"({"o":{"k":[1,"2"]}})", "o['k'][0]", "1"},
      {R"({"o":{"k":[1,"2"]}})", "o.k", "1,2"},
      {R"({"s":"\ud83d\ude00"})", "s", G("😀")},
      {R"({"s":"a\u0000b"})", "s", "a"},  // internal texts end at a zero byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document + " " + c.path);
    EXPECT_EQ(Parsed(c.document).GetText(c.path), c.text);
  }
}

TEST(JsonObjectTest, JsonReads) {
  JsonObject songs = Parsed(kTwoSongs);
  EXPECT_EQ(songs.GetText("[0]", true), G(R"({"hash":"A1","song_name":"晴天","album_id":"7"})"));
  EXPECT_EQ(songs.GetElementText(0, "", true), songs.GetText("[0]", true));
  EXPECT_EQ(songs.GetElementText(1), "[object Object]");
  EXPECT_EQ(songs.ToJson(), kTwoSongs);

  JsonObject all = Parsed(kAllKinds);
  EXPECT_EQ(all.ToJson(), kAllKinds);
  EXPECT_EQ(all.GetJson("o"), "{}");
  EXPECT_EQ(all.GetJson("s"), "\"x\"");
  EXPECT_EQ(all.GetJson("missing"), "");  // undefined has no JSON form
  EXPECT_EQ(all.GetNumber("n"), 1);
  EXPECT_EQ(all.GetNumber("s"), 0);
  EXPECT_TRUE(all.Exists("s"));
  EXPECT_TRUE(all.Exists("o"));
  EXPECT_FALSE(all.Exists("a"));  // null
  EXPECT_FALSE(all.Exists("missing"));
  EXPECT_FALSE(all.Exists("missing.deeper"));
}

TEST(JsonObjectTest, CountsAndMemberNames) {
  JsonObject all = Parsed(kAllKinds);
  TextArray names;
  EXPECT_EQ(all.GetMemberNames(names), 6);
  EXPECT_THAT(names, ElementsAre("a", "s", "n", "b", "o", "r"));
  EXPECT_EQ(all.GetMemberNames(names, "o"), 0);
  EXPECT_THAT(names, IsEmpty());
  EXPECT_EQ(all.GetCount(), 6);
  EXPECT_EQ(all.GetCount("o"), 0);
  EXPECT_EQ(all.GetCount("r"), 0);

  EXPECT_EQ(Parsed("[1,2,3]").GetCount(), 3);
  EXPECT_EQ(Parsed("{}").GetCount(), 0);
  EXPECT_EQ(Parsed(R"({"x":{"p":1,"q":[5,6]}})").GetCount("x.q"), 2);
  EXPECT_EQ(Parsed(R"([{"p":1,"q":2}])").GetCount("[0]"), 2);
}

TEST(JsonObjectTest, SettersStoreValuesAsGiven) {
  const Text values[] = {
      "it's",      "say \"hi\"", "two\nlines\r\n", "back\\slash", "');while(1){}('",
      G("晴天 😀"), "\x95\x5C",
  };
  JsonObject json;
  for (const Text& value : values) {
    SCOPED_TRACE(value);
    json.SetText("t", value);
    EXPECT_EQ(json.GetText("t"), value);
    json.SetElement(0, value);  // the root is an object; "0" becomes a member
    EXPECT_EQ(json.GetText("[0]"), value);
    json.SetRoot(value);
    EXPECT_EQ(json.GetType(), kJsonString);
    JsonObject reread = Parsed("[" + json.ToJson() + "]");
    EXPECT_EQ(reread.GetText("[0]"), value);
    json.Clear();
  }
}

TEST(JsonObjectTest, SettersBuildADocument) {
  JsonObject json;
  EXPECT_EQ(json.ToJson(), "{}");
  json.SetText("name", G("晴天"));
  json.SetNumber("count", 2.5);
  json.SetText("empty", "", true);  // an empty JSON value counts as an object
  json.SetText("list", "[1,2,3]", true);
  json.SetJson("nested", R"({"k":[true,null]})");
  json.Append("x", "tags");  // not an array yet: becomes one
  json.Append(R"({"id":7})", "tags", true);
  json.Append("y", "tags");
  json.SetNumber("dropped", 1);
  json.Reset(3);  // no such kind: nothing happens
  EXPECT_EQ(json.ToJson(),
            G(R"({"name":"晴天","count":2.5,"empty":{},"list":[1,2,3],"nested":{"k":[true,null]},)"
              R"("tags":["x",{"id":7},"y"],"dropped":1})"));
  EXPECT_EQ(json.GetText("count"), "2.5");
  EXPECT_EQ(json.GetText("tags[1].id"), "7");

  json.RemoveElement("list[1]");
  json.RemoveElement("tags[0]");
  EXPECT_EQ(json.GetJson("list"), "[1,3]");
  EXPECT_EQ(json.GetJson("tags"), R"([{"id":7},"y"])");
  // No array there: the document stays as it was.
  const Text before = json.ToJson();
  json.RemoveElement("missing[0]");
  EXPECT_EQ(json.ToJson(), before);

  json.Reset(kJsonArray);
  EXPECT_EQ(json.ToJson(), "[]");
  json.Append("a");
  json.Append("[1]", "", true);
  json.SetElement(2, "3", true);
  json.SetElement(3, "c");
  EXPECT_EQ(json.ToJson(), R"(["a",[1],3,"c"])");
  json.RemoveAt(0);
  EXPECT_EQ(json.ToJson(), R"([[1],3,"c"])");
  EXPECT_EQ(json.GetElementText(1), "3");
  EXPECT_EQ(json.GetElementText(0, "", true), "[1]");
  json.SetRoot(R"({"r":1})", true);
  EXPECT_EQ(json.ToJson(), R"({"r":1})");
  json.Reset(kJsonObject);
  EXPECT_EQ(json.ToJson(), "{}");
}

// Values meant as JSON go through the engine's JSON parser: anything else, code above all, is
// rejected and the document stays as it was.
TEST(JsonObjectTest, RejectedJsonValuesChangeNothing) {
  const Text rejected[] = {"",          "{'a':1}",
                           "[1,",       "(function(){while(1){}})()",
                           "undefined", std::string(100000, '[') + std::string(100000, ']')};
  for (const Text& value : rejected) {
    SCOPED_TRACE(value.substr(0, 40));
    JsonObject json = Parsed(kAllKinds);
    json.SetJson("s", value);
    if (!value.empty()) json.SetText("n", value, true);
    json.Append(value, "r", true);
    json.Append(value, "b", true);  // not an array, and stays so
    json.SetElement(0, value, true);
    EXPECT_EQ(json.ToJson(), kAllKinds);
    json.SetRoot(value, true);
    EXPECT_EQ(json.ToJson(), kAllKinds);
  }
}

TEST(JsonObjectTest, EmptyPathOperationsAreRejected) {
  JsonObject json = Parsed(kAllKinds);
  json.SetText("", "x");
  json.SetJson("", "1");
  json.SetNumber("", 1);
  EXPECT_EQ(json.ToJson(), kAllKinds);
  EXPECT_EQ(json.GetText(""), "");
  EXPECT_EQ(json.GetNumber(""), 0);
  EXPECT_FALSE(json.Exists(""));
}

TEST(JsonObjectTest, ObjectsTakenOutAreSeparateDocuments) {
  JsonObject songs = Parsed(kTwoSongs);
  JsonObject second = songs.GetElementObject(1);
  EXPECT_EQ(second.GetText("hash"), "B2");
  EXPECT_EQ(second.GetText("album_id"), "8");
  second.SetText("hash", "changed");
  EXPECT_EQ(songs.GetText("[1].hash"), "B2");

  JsonObject play = Parsed(R"({"data":{"play_url":"u","list":[{"x":1}]}})");
  JsonObject data = play.GetObject("data");
  EXPECT_EQ(data.GetText("play_url"), "u");
  EXPECT_EQ(data.GetElementObject(0, "list").GetText("x"), "1");
  data.Clear();
  EXPECT_EQ(play.GetText("data['play_url']"), "u");

  EXPECT_EQ(play.GetObject("missing").GetType(), kJsonNull);
}

TEST(JsonObjectTest, CopiesShareTheDocument) {
  JsonObject original = Parsed(kAllKinds);
  JsonObject copy(original);
  copy.SetText("s", "changed");
  EXPECT_EQ(original.GetText("s"), "changed");

  JsonObject assigned;
  assigned = original;
  original.SetNumber("n", 5);
  EXPECT_EQ(assigned.GetText("n"), "5");

  // A Parse gives the parsing object a fresh engine; the copies keep the old document.
  EXPECT_TRUE(original.Parse("[1]"));
  EXPECT_EQ(copy.GetText("s"), "changed");
  EXPECT_EQ(original.GetCount(), 1);
}

TEST(JsonObjectTest, ParseStartsFromAFreshEngine) {
  JsonObject json;
  json.SetText("t", "v");
  json.SetRoot("replaced");
  ASSERT_TRUE(json.Parse(R"({"u":1})"));
  EXPECT_FALSE(json.Exists("t"));
  EXPECT_EQ(json.GetText("u"), "1");

  // A failed Parse leaves no document behind either.
  EXPECT_FALSE(json.Parse("{broken"));
  EXPECT_EQ(json.GetType(), kJsonNull);
  EXPECT_EQ(json.GetText("u"), "");
  EXPECT_EQ(json.ToJson(), "null");
  // An empty text leaves the variable undefined, which has no JSON form.
  EXPECT_FALSE(json.Parse(""));
  EXPECT_EQ(json.GetType(), kJsonNull);
  EXPECT_EQ(json.ToJson(), "");
  TextArray names = {"stale"};
  EXPECT_EQ(json.GetMemberNames(names), 0);
  EXPECT_THAT(names, IsEmpty());

  EXPECT_TRUE(json.Parse("[]"));
  EXPECT_EQ(json.GetMemberNames(names), 0);
}

}  // namespace
}  // namespace gedan
