#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "json/duktape_host.h"
#include "json/engine_text.h"
#include "json/script_literal.h"
#include "text/encoding.h"

namespace gedan {
namespace {

// Expected internal texts are written in UTF-8 here and converted, so the file's own encoding
// never matters.
Text G(std::string_view utf8) {
  return Utf8ToAnsi(utf8);
}

class ScriptHostTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(host_, nullptr); }
  std::shared_ptr<ScriptHost> host_ = CreateScriptHost();
};

TEST_F(ScriptHostTest, ValuesAskedAsText) {
  struct Case {
    const char* code;
    Text expected;
  } cases[] = {
      {"'abc'", "abc"},
      {"8", "8"},
      {"-12", "-12"},
      {"1.5", "1.5"},
      {"0.1+0.2", "0.30000000000000004"},
      {"1e21", "1000000000000000000000"},  // whole numbers stay in plain digits
      {"-0", "0"},
      {"1/3", "0.3333333333333333"},
      {"1/0", "Infinity"},
      {"true", "true"},
      {"null", ""},
      {"undefined", ""},
      {"[1,'a']", "1,a"},
      {"({})", "[object Object]"},
      {"({toString:function(){throw 1}})", ""},  // no text form
      {"var x=5; x*2", "10"},                    // the value of the last statement
      {"'\\u4e2d'", G("中")},
      {"1 +", ""},           // syntax error
      {"nothing.here", ""},  // run-time error
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(host_->EvalText(c.code), c.expected);
  }
}

TEST_F(ScriptHostTest, ValuesAskedAsNumberOrBoolean) {
  struct Case {
    const char* code;
    double number;
    bool boolean;
  } cases[] = {
      {"8", 8, true},      {"1.5", 1.5, true},     {"0", 0, false},     {"'12'", 12, false},
      {"'abc'", 0, false}, {"true", 1, true},      {"false", 0, false}, {"null", 0, false},
      {"({})", 0, false},  {"NaN", 0, false},      {"1 +", 0, false},   {"nothing.here", 0, false},
      {"1==1", 1, true},   {"'x'!=null", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(host_->EvalNumber(c.code), c.number);
    EXPECT_EQ(host_->EvalBoolean(c.code), c.boolean);
  }
}

TEST_F(ScriptHostTest, GlobalCodeAndEvalShareTheGlobalScope) {
  EXPECT_TRUE(host_->SetLanguage("JavaScript"));
  EXPECT_FALSE(host_->SetLanguage("VBScript"));
  EXPECT_TRUE(host_->AddCode("function twice(n){return 2*n}\nvar base=20"));
  EXPECT_TRUE(host_->Eval("var extra=1"));
  EXPECT_EQ(host_->EvalNumber("twice(base)+extra"), 41);

  // A rejected script changes nothing, at compile time or at run time before its first effect.
  EXPECT_FALSE(host_->AddCode("base=0; var ("));
  EXPECT_FALSE(host_->Eval("missing.x; base=0"));
  EXPECT_EQ(host_->EvalNumber("base"), 20);
}

// Every internal text, written as a literal into a script, reads back unchanged: quotes,
// backslashes and line breaks do not end the literal, and a double-byte character whose second
// byte is a backslash stays one character.
TEST_F(ScriptHostTest, TextsRoundTripThroughLiterals) {
  const Text texts[] = {
      "",
      "plain",
      "it's \"quoted\"",
      "back\\slash\\",
      "line1\nline2\r\nline3\ttab",
      "\x01\x1F\x7F",
      "</script><!--",
      G("周杰伦 - 晴天"),
      "\x95\x5C\x22",      // 0x955C, then a quote
      "\x81\x36\xA6\x35",  // U+2028, a line terminator inside a script
      "\x81\x36\xA6\x36",  // U+2029
      G("😀 and 𠀀"),       // beyond U+FFFF: surrogate pairs inside the engine
  };
  for (const Text& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(host_->EvalText(ScriptStringLiteral(text)), text);
  }
  // The engine sees characters beyond U+FFFF as two UTF-16 units, like any script engine.
  EXPECT_EQ(host_->EvalNumber(ScriptStringLiteral(G("😀")) + ".length"), 2);
}

TEST_F(ScriptHostTest, BrokenInternalTextBecomesReplacementCharacters) {
  const Text replacement = G("\uFFFD");
  EXPECT_EQ(host_->EvalText(ScriptStringLiteral("a\x81\"b")), "a" + replacement + "\"b");
  EXPECT_EQ(host_->EvalText(ScriptStringLiteral("a\xFF")), "a" + replacement);
  EXPECT_EQ(host_->EvalText(ScriptStringLiteral("\x81\x30\x81")), replacement + "0" + replacement);
}

TEST(EngineTextTest, SurrogatesFromTheEngineBecomeOneCharacter) {
  struct Case {
    std::string engine;
    std::string utf8;
  } cases[] = {
      {"\xED\xA0\xBD\xED\xB8\x80", "\xF0\x9F\x98\x80"},      // U+1F600
      {"a\xED\xA0\x80\xED\xB0\x80z", "a\xF0\x90\x80\x80z"},  // U+10000
      {"\xED\xA0\xBD", "\xEF\xBF\xBD"},                      // high half alone
      {"\xED\xB8\x80x", "\xEF\xBF\xBDx"},                    // low half alone
      {"\xED\x9F\xBF", "\xED\x9F\xBF"},                      // U+D7FF is no surrogate
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},              // already UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.engine);
    EXPECT_EQ(Cesu8ToUtf8(c.engine), c.utf8);
  }
  EXPECT_EQ(FromEngineText("\xED\xA0\xBD\xED\xB8\x80"), G("😀"));
  EXPECT_EQ(FromEngineText(std::string("ab\0cd", 5)), "ab");
}

TEST(DuktapeHostTest, MemoryCapEndsAScriptButNotTheEngine) {
  auto host = CreateDuktapeHost(std::size_t{8} << 20);
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(host->AddCode("var big='x'; for(;;) big=big+big"));
  EXPECT_FALSE(host->AddCode("var list=[]; for(;;) list.push({n:list.length})"));
  EXPECT_TRUE(host->AddCode("list=null"));
  EXPECT_EQ(host->EvalText("new Array(4).join('ok')"), "okokok");
  EXPECT_GE(host->EvalNumber("big.length"), 1 << 20);  // grew until the cap stopped it
}

TEST(DuktapeHostTest, NoEngineWithinATinyCap) {
  EXPECT_EQ(CreateDuktapeHost(4096), nullptr);
}

TEST(DuktapeHostTest, DeeplyNestedCodeIsRejected) {
  auto host = CreateScriptHost();
  ASSERT_NE(host, nullptr);
  const std::size_t depth = 100000;
  EXPECT_FALSE(host->AddCode("var a=" + std::string(depth, '[') + std::string(depth, ']')));
  EXPECT_EQ(host->EvalText("(" + std::string(depth, '(') + "1" + std::string(depth, ')') + ")"),
            "");
  EXPECT_EQ(host->EvalNumber("JSON.parse('[[[1]]]')[0][0][0]"), 1);
}

}  // namespace
}  // namespace gedan
