// Errors a user can cause end the command that raised them with one error box; the program and
// its later commands go on.
#include <gtest/gtest.h>

#include "editor/crossword_builder.h"
#include "program_folder.h"
#include "ui/ids.h"

namespace tervano {
namespace {

using V = std::vector<std::string>;

TEST(UserErrors, ALayoutErrorEndsItsCommandWithAnErrorBoxNotTheProgram) {
  testing::Rig rig;
  rig.dir.makeSet({1, 1, 1, 1});
  rig.start("-EDITOR");
  rig.host.clear();
  editor::CrosswordInput input;
  input.tajenka = "ab";
  input.answers = {"xyz", "qq"};  // neither word holds its tajenka letter
  input.clues = {"jedna", "dvě"};
  bool after = false;
  EXPECT_FALSE(rig.app->invoke([&] {
    editor::buildCrossword(input);
    after = true;
  }));
  EXPECT_FALSE(after);
  const V boxes = rig.host.only({"error"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("xyz"), std::string::npos) << boxes[0];
  EXPECT_FALSE(rig.host.quitRequested());
  // The next command runs as usual.
  rig.app->hover(id::kCatEditorData);
  EXPECT_TRUE(rig.c().visible(id::kPanelEditorData));
}

}  // namespace
}  // namespace tervano
