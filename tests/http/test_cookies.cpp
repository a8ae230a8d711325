// The cookie helpers of the response stage.

#include <gtest/gtest.h>

#include "http/cookies.h"

namespace gedan {
namespace {

TEST(MergeCookies, ResponseItemsWinAndRequestItemsFollow) {
  struct Case {
    const char* request;
    const char* response;
    const char* merged;
  };
  const Case cases[] = {
      // The blank after each ";" stays with its item, and the join adds "; " again.
      {"a=0; z=9", "a=1; b=2", "a=1;  b=2;  z=9"},
      // A deleted cookie keeps the request's one out and disappears itself.
      {"a=0; z=9", "z=deleted", "a=0"},
      {"a=0", "", "a=0"},
      {"", "a=1", "a=1"},
      // Of several request items with one name only the first gets in.
      {"x=1; x=2", "", "x=1"},
      // Identical items appear once.
      {"", "a=1;a=1", "a=1"},
      {"q=1", "flag", "flag; q=1"},
  };
  for (const Case& c : cases) {
    Text request = c.request, response = c.response;
    EXPECT_EQ(MergeCookies(request, response), c.merged) << c.request << " | " << c.response;
  }
}

TEST(MergeCookies, TrimsBothArgumentsInPlace) {
  Text request = "  a=0 ", response = " b=1  ";
  MergeCookies(request, response);
  EXPECT_EQ(request, "a=0");
  EXPECT_EQ(response, "b=1");
}

TEST(CookieHelpers, NameIsTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName("a=1=2"), "a");
  EXPECT_EQ(CookieName(" b = 2"), "b");
  EXPECT_EQ(CookieName("flag"), "flag");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_TRUE(HasCookieName({"x=1", " y=2"}, "y"));
  EXPECT_FALSE(HasCookieName({"A=1"}, "a"));
}

TEST(CookieHelpers, RemoveDuplicateItemsKeepsFirstOccurrences) {
  EXPECT_EQ(RemoveDuplicateItems("a,b,a,c,b", ","), "a,b,c");
  EXPECT_EQ(RemoveDuplicateItems("a; a;  a", "; "), "a;  a");  // " a" differs from "a"
  EXPECT_EQ(RemoveDuplicateItems("", ","), "");
  EXPECT_EQ(FindItem({"x", "y", "x"}, "x"), 1);
  EXPECT_EQ(FindItem({"x", "y", "x"}, "y"), 2);
  EXPECT_EQ(FindItem({"x"}, "X"), -1);
}

}  // namespace
}  // namespace gedan
