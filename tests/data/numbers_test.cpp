// 32-bit numbers held as text: strict parsing and no silent wrap-around.
#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/numbers.h"

namespace tervano {
namespace {

TEST(Numbers, ParsingAcceptsASignAndDigitsOnly) {
  EXPECT_EQ(parseInt("42"), 42);
  EXPECT_EQ(parseInt("-7"), -7);
  EXPECT_EQ(parseInt("+7"), 7);
  EXPECT_EQ(parseInt("0550"), 550);
  for (const char* bad : {"", "-", "+", " 1", "1 ", "1.5", "abc", "0x10", "1e3", "١"})
    EXPECT_FALSE(tryParseInt(bad).has_value()) << bad;
}

TEST(Numbers, TheConversionErrorNamesTheText) {
  try {
    parseInt("abc");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  // A NUL byte from a damaged file must not cut the message short.
  const std::string withNul = std::string("1") + '\0' + "2";
  try {
    parseInt(withNul);
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(),
                 "'1\u2400"
                 "2' is not a valid integer value");
    EXPECT_EQ(e.offending(), withNul);
  }
}

TEST(Numbers, The32BitBoundsAreExact) {
  EXPECT_EQ(parseInt("2147483647"), 2147483647);
  EXPECT_EQ(parseInt("-2147483648"), -2147483647 - 1);
  EXPECT_THROW(parseInt("2147483648"), ConversionError);
  EXPECT_THROW(parseInt("-2147483649"), ConversionError);
  EXPECT_THROW(parseInt("99999999999999999999999"), ConversionError);
}

TEST(Numbers, OverflowIsAConversionErrorNotAWrap) {
  EXPECT_EQ(checkedAdd(2147483646, 1), 2147483647);
  try {
    checkedAdd(2147483647, 1);
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2147483648' is not a valid integer value");
  }
  EXPECT_THROW(checkedMul(65536, 65536), ConversionError);
  EXPECT_THROW(checkedSub(-2147483647 - 1, 1), ConversionError);
}

}  // namespace
}  // namespace tervano
