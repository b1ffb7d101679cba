// The help file may be UTF-8 or code page 1250: valid UTF-8 is taken as it is, anything else is
// read as code page 1250, and the result is always valid UTF-8.
#include "data/document.h"

#include <gtest/gtest.h>

#include "data/cp1250.h"

namespace tervano {
namespace {

TEST(Utf8Validity, FollowsTheBoundariesOfTheEncoding) {
  struct Case {
    std::string bytes;
    bool valid;
    const char* why;
  };
  const Case cases[] = {
      {"", true, "empty"},
      {std::string("a\0b", 3), true, "NUL is a character"},
      {"\x7F", true, "last one-byte form"},
      {"\xC2\x80", true, "first two-byte form (U+0080)"},
      {"\xDF\xBF", true, "last two-byte form (U+07FF)"},
      {"\xE0\xA0\x80", true, "first three-byte form (U+0800)"},
      {"\xED\x9F\xBF", true, "U+D7FF, just below the surrogates"},
      {"\xEE\x80\x80", true, "U+E000, just above the surrogates"},
      {"\xEF\xBF\xBD", true, "U+FFFD itself"},
      {"\xF0\x90\x80\x80", true, "first four-byte form (U+10000)"},
      {"\xF4\x8F\xBF\xBF", true, "U+10FFFF, the last code point"},
      {"\x80", false, "a lone continuation byte"},
      {"\xC0\x80", false, "overlong NUL"},
      {"\xC1\xBF", false, "overlong two-byte form"},
      {"\xE0\x9F\xBF", false, "overlong three-byte form"},
      {"\xF0\x8F\xBF\xBF", false, "overlong four-byte form"},
      {"\xED\xA0\x80", false, "surrogate U+D800"},
      {"\xED\xBF\xBF", false, "surrogate U+DFFF"},
      {"\xF4\x90\x80\x80", false, "U+110000, beyond Unicode"},
      {"\xF5\x80\x80\x80", false, "lead byte F5"},
      {"\xFF", false, "byte FF"},
      {"\xC3", false, "cut short at the end"},
      {"\xE2\x82", false, "three-byte form cut short"},
      {"\xC3(", false, "continuation missing"},
      {"\xE2\x28\xA1", false, "second byte not a continuation"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.why;
}

TEST(DecodeDocument, Utf8IsKeptAndCodePage1250IsDecoded) {
  const std::string html = "<h1>Nápověda</h1><p>Příliš žluťoučký kůň – „úpěl“</p>";
  EXPECT_EQ(decodeDocument(html), html);
  const std::string legacy = cp1250::encode(html);
  ASSERT_NE(legacy, html);
  EXPECT_EQ(decodeDocument(legacy), html);
  // A byte order mark is not text.
  EXPECT_EQ(decodeDocument("\xEF\xBB\xBF" + html), html);
  // One byte that is not UTF-8 makes the whole file code page 1250, never a file with
  // replacement marks.
  EXPECT_EQ(decodeDocument("<p>ko\x9A</p>"), "<p>koš</p>");
  EXPECT_EQ(decodeDocument(html + "\x9A").find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(DecodeDocument, TheResultIsAlwaysValidUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  for (const std::string& bytes : {all, std::string("\xED\xA0\x80"), std::string("\xC0\xAF")}) {
    const std::string text = decodeDocument(bytes);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(cp1250::encode(text), bytes);  // nothing of a legacy file is lost
  }
}

}  // namespace
}  // namespace tervano
