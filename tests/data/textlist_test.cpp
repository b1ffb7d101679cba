// Text lists: the line rules every data file and record relies on.
#include <gtest/gtest.h>

#include "data/textlist.h"

namespace tervano {
namespace {

TEST(TextList, CrLfOrCrLfEndALine) {
  EXPECT_EQ(TextList::fromText("a\r\nb\rc\nd").lines(),
            (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TextList, AFinalLineEndingDoesNotStartAnotherLine) {
  EXPECT_EQ(TextList::fromText("a\r\nb\r\n").count(), 2);
  EXPECT_EQ(TextList::fromText("a\r\nb").count(), 2);
  EXPECT_EQ(TextList::fromText("").count(), 0);
  EXPECT_EQ(TextList::fromText("\r\n").count(), 1);  // one empty line
  // Only the final empty line is ignored; empty lines inside count.
  EXPECT_EQ(TextList::fromText("a\r\n\r\n").lines(), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(TextList::fromText("\n\nx").lines(), (std::vector<std::string>{"", "", "x"}));
}

TEST(TextList, CrFollowedByLfIsOneEndingButLfCrIsTwo) {
  EXPECT_EQ(TextList::fromText("a\r\n\nb").count(), 3);
  EXPECT_EQ(TextList::fromText("a\n\rb").count(), 3);
}

TEST(TextList, ReadingBeyondTheEndGivesEmptyText) {
  TextList l{"a", "b"};
  EXPECT_EQ(l.get(1), "b");
  EXPECT_EQ(l.get(2), "");
  EXPECT_EQ(l.get(-1), "");
}

TEST(TextList, WritingBeyondTheEndDoesNothing) {
  TextList l{"a"};
  l.set(1, "x");
  l.set(-1, "y");
  EXPECT_EQ(l.lines(), (std::vector<std::string>{"a"}));
  l.set(0, "z");
  EXPECT_EQ(l.get(0), "z");
}

TEST(TextList, JoinedEndsEveryLineWithCrLf) {
  TextList l{"a", "", "b"};
  EXPECT_EQ(l.joined(), "a\r\n\r\nb\r\n");
  EXPECT_EQ(TextList::fromText(l.joined()), l);
}

}  // namespace
}  // namespace tervano
