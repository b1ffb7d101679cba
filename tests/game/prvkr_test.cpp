// prvkr brings the crossword of the grade and crossword counters into play.
#include <gtest/gtest.h>

#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

using testing::Rig;

class Prvkr : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.dir.makeSet({2, 1, 1, 1});
    rig.create();
  }
  bool prvkr() {
    return rig.app->invoke([&] { rig.app->game().prvkr(); });
  }
  void at(const char* grade, const char* crossword) {
    rig.app->game().setCounter(id::kGrade, grade);
    rig.app->game().setCounter(id::kCrossword, crossword);
  }
  Rig rig;
};

TEST_F(Prvkr, LoadsTheFourFilesAndShowsTheScoringPanel) {
  rig.dir.addCrossword(1, 2, {"o n e", "  t w o"}, {"10", "5", "20", "15", "A", "8"},
                       {"x x x", "  x x x"});
  at("1", "2");
  ASSERT_TRUE(prvkr());
  const auto& c = rig.c();
  EXPECT_EQ(c.lines(id::kMapArea), (TextList{"x x x", "  x x x"}));
  EXPECT_EQ(c.lines(id::kAnswerArea), c.lines(id::kMapArea));
  EXPECT_EQ(c.lines(id::kLegendArea), (TextList{"nápověda 1", "nápověda 2"}));
  EXPECT_EQ(rig.app->session().vyslt, (TextList{"o n e", "  t w o"}));
  EXPECT_EQ(c.text(id::kScoreGood), "10");
  EXPECT_EQ(c.text(id::kScoreBad), "5");
  EXPECT_EQ(c.text(id::kScoreGoodTajenka), "20");
  EXPECT_EQ(c.text(id::kScoreBadTajenka), "15");
  EXPECT_EQ(c.text(id::kScoreWordCount), "8");
  // 10 x 8 + 20 and 5 x 8 + 15.
  EXPECT_EQ(c.text(id::kCanGain), "100");
  EXPECT_EQ(c.text(id::kCanLose), "55");
}

TEST_F(Prvkr, WithNoWordsTheTotalsAreTheTajenkaPoints) {
  rig.dir.addCrossword(1, 2, {"a"}, {"10", "5", "20", "15", "N", "0"});
  at("1", "2");
  ASSERT_TRUE(prvkr());
  EXPECT_EQ(rig.text(id::kCanGain), "20");
  EXPECT_EQ(rig.text(id::kCanLose), "15");
}

TEST_F(Prvkr, AMissingSolutionStopsAfterTheConfiguration) {
  at("1", "1");
  ASSERT_TRUE(prvkr());
  rig.dir.addCrossword(1, 2, {"n e w"}, {"1", "2", "3", "4", "N", "1"}, {"x x x"});
  rig.dir.remove("tervano/r1/k2/k.vk");
  at("1", "2");
  EXPECT_FALSE(prvkr());
  // The configuration was replaced, everything after it kept the previous crossword.
  EXPECT_EQ(rig.app->session().konftaj.get(0), "1");
  EXPECT_EQ(rig.app->session().vyslt, (TextList{"c a t", "d o g"}));
  EXPECT_EQ(rig.c().lines(id::kMapArea), (TextList{"x x x", "x x x"}));
  EXPECT_EQ(rig.text(id::kScoreGood), "10");
  ASSERT_EQ(rig.host.only({"error"}).size(), 1u);
  EXPECT_NE(rig.host.only({"error"})[0].find("k.vk"), std::string::npos);
}

TEST_F(Prvkr, ANonNumericValueFailsInTheTotalsAfterEverythingIsShown) {
  at("1", "1");
  ASSERT_TRUE(prvkr());
  rig.dir.writeScript("12nazacatkukrizovky.lsc", {"zprava.info", "start"});
  rig.dir.addCrossword(1, 2, {"n e w"}, {"abc", "2", "3", "4", "N", "1"});
  at("1", "2");
  EXPECT_FALSE(prvkr());
  EXPECT_EQ(rig.host.transcript(),
            (std::vector<std::string>{"error: 'abc' is not a valid integer value"}));
  EXPECT_EQ(rig.text(id::kScoreGood), "abc");
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"x x x"}));
  EXPECT_EQ(rig.text(id::kCanGain), "40");  // the previous crossword's totals stay
  EXPECT_EQ(rig.text(id::kCanLose), "25");
}

TEST_F(Prvkr, AMapWithFewerLinesGivesAShorterAnswerArea) {
  rig.dir.addCrossword(1, 2, {"a b", "c d", "e f"}, {"1", "1", "1", "1", "N", "3"}, {"x x"});
  at("1", "2");
  ASSERT_TRUE(prvkr());
  EXPECT_EQ(rig.c().lines(id::kAnswerArea).count(), 1);
}

TEST_F(Prvkr, ARetryResetsTheAnswersAndRunsTheStartScriptAgain) {
  rig.dir.writeScript("11nazacatkukrizovky.lsc", {"zprava.info", "vítej"});
  at("1", "1");
  ASSERT_TRUE(prvkr());
  rig.app->edit(id::kAnswerArea, "c a t\r\nd");
  ASSERT_TRUE(prvkr());
  EXPECT_EQ(rig.c().lines(id::kAnswerArea), (TextList{"x x x", "x x x"}));
  EXPECT_EQ(rig.host.only({"info"}), (std::vector<std::string>{"info: vítej", "info: vítej"}));
}

TEST_F(Prvkr, CountersThatAreNoNumbersReachNoFile) {
  at("..", "1");
  EXPECT_FALSE(prvkr());
  at("1", "1/../../x");
  EXPECT_FALSE(prvkr());
  EXPECT_EQ(rig.host.only({"error"}).size(), 2u);
}

TEST(PrvkrInToolModes, LoadsTheFilesButRunsNoScript) {
  Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.dir.writeScript("11nazacatkukrizovky.lsc", {"zprava.info", "vítej"});
  rig.create("-EDITOR");
  ASSERT_TRUE(rig.app->invoke([&] { rig.app->game().prvkr(); }));
  EXPECT_EQ(rig.c().lines(id::kMapArea), (TextList{"x x x", "x x x"}));
  EXPECT_TRUE(rig.host.transcript().empty());
}

}  // namespace
}  // namespace tervano
