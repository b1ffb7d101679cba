// The journal of a transaction: any Linux file name round-trips, and only a whole journal of this
// version is read.
#include "data/journal.h"

#include <gtest/gtest.h>

namespace tervano {
namespace {

using journal::Record;
using journal::Step;

Record sample(std::string odd) {
  Record r;
  r.label = "Uložení křížovky 1/2";
  r.committed = true;
  r.steps.push_back({Step::Kind::Replace, "tervano/r1/k2/" + odd, "tervano/r1/k2/.tvtmp-1-2",
                     "tervano/r1/k2/.tvtmp-1-3", 12, 345, true});
  r.steps.push_back({Step::Kind::Move, "tervano/r1/k4", odd, "", 0, 99, true});
  r.steps.push_back({Step::Kind::Move, ".tvtmp-1-5", "tervano", "", 0, 7, false});
  r.steps.push_back({Step::Kind::Exchange, "tervano", "tervano31", "", 5, 6, false});
  r.removals = {odd, "tervanoMazani"};
  return r;
}

TEST(Journal, EveryFileNameRoundTrips) {
  std::string allBytes;
  for (int b = 1; b < 256; ++b)
    if (b != '/') allBytes.push_back(static_cast<char>(b));
  const std::string names[] = {"k.lk",       "Hra \"křížovek\" ž", "řádek\nnový\r",
                               "100% jistě", " mezera na začátku", allBytes,
                               "%41"};
  for (const std::string& name : names) {
    const Record r = sample(name);
    const auto back = journal::decode(journal::encode(r));
    ASSERT_TRUE(back) << name;
    EXPECT_EQ(*back, r) << name;
    EXPECT_EQ(journal::decodeName(journal::encodeName(name)), name);
  }
  // Czech letters stay readable; blanks and line ends never reach the text as they are.
  EXPECT_EQ(journal::encodeName("Hra ž\n%"), "Hra%20ž%0A%25");
}

TEST(Journal, OnlyAWholeJournalOfThisVersionIsRead) {
  const std::string whole = journal::encode(sample("k.nk"));
  ASSERT_TRUE(whole.ends_with("end\ncommit\n"));
  EXPECT_TRUE(journal::decode(whole)->committed);
  // A commit mark cut short by a crash was never made.
  for (std::size_t cut = 1; cut <= 7; ++cut) {
    const auto torn = journal::decode(whole.substr(0, whole.size() - cut));
    ASSERT_TRUE(torn) << cut;
    EXPECT_FALSE(torn->committed) << cut;
  }
  const std::string head = whole.substr(0, whole.find("replace"));
  const std::string broken[] = {
      "",
      whole.substr(0, whole.rfind("end")),                   // no "end"
      whole + "commit\n",                                    // more after the mark
      "tervano-journal 2" + whole.substr(whole.find('\n')),  // another version
      head + "rename a b 1 2\nend\n",                        // an unknown step
      head + "move a b x 2 kept\nend\n",                     // not a number
      head + "move a b 0 2\nend\n",                          // a word missing
      head + "remove a%4\nend\n",                            // a cut escape
  };
  for (const std::string& text : broken)
    EXPECT_FALSE(journal::decode(text)) << text;
}

TEST(Journal, APathOutsideTheProgramFolderIsNeverPlaced) {
  const std::filesystem::path root = "/program";
  EXPECT_EQ(journal::place(root, "tervano/r1"), std::filesystem::path("/program/tervano/r1"));
  for (const char* bad : {"", "/etc/passwd", "../x", "tervano/../../x", "./x"})
    EXPECT_FALSE(journal::place(root, bad)) << bad;
}

}  // namespace
}  // namespace tervano
