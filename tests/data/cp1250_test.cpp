// Code page 1250 on disk, UTF-8 inside: every character must survive the round trip, and
// lower-casing must follow the code page's own letter pairs.
#include <gtest/gtest.h>

#include "data/cp1250.h"
#include "data/errors.h"

namespace tervano {
namespace {

TEST(Cp1250, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  const std::string utf8 = cp1250::decode(all);
  EXPECT_EQ(cp1250::encode(utf8), all);
}

TEST(Cp1250, CzechLettersDecodeToTheirUnicodeForms) {
  const std::string czech = "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽáčďéěíňóřšťúůýž";
  const std::string bytes = cp1250::encode(czech);
  EXPECT_EQ(bytes.size(), 30u);                            // one byte per letter
  EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0xD8);   // Ř
  EXPECT_EQ(static_cast<unsigned char>(bytes[27]), 0xF9);  // ů
  EXPECT_EQ(cp1250::decode(bytes), czech);
}

TEST(Cp1250, KnownCodePointsOfTheUpperHalf) {
  struct Case {
    unsigned char byte;
    const char* utf8;
  };
  const Case cases[] = {{0x80, "€"}, {0x8A, "Š"}, {0x8E, "Ž"},      {0x9A, "š"}, {0x9E, "ž"},
                        {0xA3, "Ł"}, {0xA5, "Ą"}, {0xBC, "Ľ"},      {0xC8, "Č"}, {0xCC, "Ě"},
                        {0xE8, "č"}, {0xEC, "ě"}, {0xF8, "ř"},      {0xFF, "˙"}, {0x84, "„"},
                        {0x93, "“"}, {0x96, "–"}, {0xA0, "\u00A0"}, {0xDF, "ß"}};
  for (const auto& c : cases) {
    EXPECT_EQ(cp1250::decode(std::string(1, static_cast<char>(c.byte))), c.utf8)
        << std::hex << int(c.byte);
    EXPECT_EQ(cp1250::encode(c.utf8), std::string(1, static_cast<char>(c.byte)));
  }
}

TEST(Cp1250, CharactersOutsideTheCodePageAreRefusedNotReplaced) {
  EXPECT_FALSE(cp1250::representable("Привет"));
  EXPECT_FALSE(cp1250::representable("ñ"));  // Spanish, not in the code page
  EXPECT_TRUE(cp1250::representable("Příliš žluťoučký kůň"));
  try {
    cp1250::encode("abc😀");
    FAIL() << "an emoji cannot be written";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("😀"), std::string::npos) << e.what();
  }
}

TEST(Cp1250, MalformedUtf8IsRefused) {
  // Overlong forms, surrogates and values beyond Unicode are malformed like a cut sequence: an
  // overlong "A" must not be written as "A", changing the text on its way to disk.
  for (const char* bad : {"a\xC3", "\xFF", "\xC1\x81", "\xC0\x80", "\xE0\x81\x81",
                          "\xF0\x80\x81\x81", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
    EXPECT_THROW(cp1250::encode(bad), FileError) << bad;
    EXPECT_FALSE(cp1250::representable(bad)) << bad;
    EXPECT_EQ(cp1250::toLower(bad), bad) << "left as it is";
  }
  EXPECT_EQ(cp1250::codePoints("\xC1\x81"), U"\uFFFD");
  // The shortest forms of the same characters are fine.
  EXPECT_EQ(cp1250::encode("A\u00A0\u20AC"), "A\xA0\x80");
}

TEST(Cp1250, LowerCasingFollowsTheCodePagePairs) {
  EXPECT_EQ(cp1250::toLower("ŘÍJEN"), "říjen");
  EXPECT_EQ(cp1250::toLower("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ"), "áčďéěíňóřšťúůýž");
  EXPECT_EQ(cp1250::toLower("ŁĄŞŻĽŚŹŔĂĹĆĘŃŐŰŢÄÖÜ"), "łąşżľśźŕăĺćęńőűţäöü");
  EXPECT_EQ(cp1250::toLower("M O N D A Y"), "m o n d a y");
  // Letters without a pair and signs stay as they are.
  EXPECT_EQ(cp1250::toLower("ß×÷€ 1-2"), "ß×÷€ 1-2");
  // Outside the code page nothing changes.
  EXPECT_EQ(cp1250::toLower("ÑБ"), "ÑБ");
}

TEST(Cp1250, UpperCasingIsTheReverseOfLowerCasing) {
  EXPECT_EQ(cp1250::toUpper("říjen"), "ŘÍJEN");
  EXPECT_EQ(cp1250::toUpper("áčďéěíňóřšťúůýž"), "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
  EXPECT_EQ(cp1250::toUpper("łąşżľśźŕăĺćęńőűţäöü"), "ŁĄŞŻĽŚŹŔĂĹĆĘŃŐŰŢÄÖÜ");
  EXPECT_EQ(cp1250::toUpper("m o n d a y"), "M O N D A Y");
  // Without a capital in the code page (ß), signs, and outside it nothing changes.
  EXPECT_EQ(cp1250::toUpper("ß×÷€ 1-2 ñб"), "ß×÷€ 1-2 ñб");
  EXPECT_EQ(cp1250::toUpper("a\xC3"), "A\xC3") << "a cut sequence stays as it is";
  // Every letter of the code page goes up and comes down to itself.
  for (int b = 0x20; b < 0x100; ++b) {
    const std::string one = cp1250::decode(std::string(1, static_cast<char>(b)));
    const std::string lower = cp1250::toLower(one);
    EXPECT_EQ(cp1250::toLower(cp1250::toUpper(lower)), lower) << std::hex << b;
    if (lower != one) {
      EXPECT_EQ(cp1250::toUpper(lower), one) << std::hex << b;
    }
  }
}

TEST(Cp1250, LowerCasingTableMatchesEveryUpperLetterOfTheCodePage) {
  // Each upper-case letter of the code page has its lower-case letter 0x10 or 0x20 above it
  // (0x20 for the Latin-1-like rows, 0x10 for Š Ś Ť Ž Ź) or in the Ł/Ą/Ş/Ż/Ľ pairs.
  int lowered = 0;
  for (int b = 0x41; b < 0x100; ++b) {
    const std::string one = cp1250::decode(std::string(1, static_cast<char>(b)));
    const std::string lower = cp1250::toLower(one);
    if (lower != one) {
      ++lowered;
      const auto lb = static_cast<unsigned char>(cp1250::encode(lower)[0]);
      EXPECT_TRUE(lb == b + 0x20 || lb == b + 0x10 || (b == 0xA3 && lb == 0xB3) ||
                  (b == 0xA5 && lb == 0xB9) || (b == 0xAA && lb == 0xBA) ||
                  (b == 0xAF && lb == 0xBF) || (b == 0xBC && lb == 0xBE))
          << std::hex << b;
    }
  }
  // A-Z, five in the 0x8x row, five more pairs, and 0xC0-0xDE without ×.
  EXPECT_EQ(lowered, 26 + 5 + 5 + 30);
}

}  // namespace
}  // namespace tervano
