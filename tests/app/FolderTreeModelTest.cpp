#include "app/FolderTreeModel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Machine.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

class FolderTreeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder :
         {"Velmora/Orvane 2/Plytki", "Velmora/kestrio", "Velmora/Alpha", "windows/system32"}) {
      fs::create_directories(fs::path(prefix.driveC()) / folder);
    }
    prefix.WriteFile(prefix.driveC() + "/Velmora/readme.txt", "not a folder");
    prefix.Link("d:", prefix.MakeFolder("data"));
    prefix.Link("e:", prefix.path() + "/no-such-folder");
    prefix.Unlink("z:");
    machine = prefix.OpenMachine();
  }

  std::vector<std::string> Labels(const TFolderTreeModel& model) {
    std::vector<std::string> labels;
    for (const TFolderRow& row : model.Rows()) labels.push_back(TFolderTreeModel::Label(row));
    return labels;
  }

  test::TempPrefix prefix;
  std::unique_ptr<Machine> machine;
};

TEST_F(FolderTreeModelTest, NothingSelectedListsTheDrivesWhoseRootExists) {
  TFolderTreeModel model(machine->files());
  model.Select("");
  EXPECT_EQ(Labels(model), (std::vector<std::string>{"\u25B8 C:\\", "\u25B8 D:\\"}));
  EXPECT_EQ(model.SelectedRow(), -1);
}

TEST_F(FolderTreeModelTest, SelectionOpensItsAncestorsAndListsItsSubfoldersSortedWithoutFiles) {
  TFolderTreeModel model(machine->files());
  model.Select("c:\\VELMORA");
  EXPECT_EQ(model.Selected(), "c:\\VELMORA\\");
  EXPECT_EQ(Labels(model),
            (std::vector<std::string>{"\u25BE C:\\", "    \u25BE Velmora", "        \u25B8 Alpha",
                                      "        \u25B8 kestrio", "        \u25B8 Orvane 2",
                                      "    \u25B8 windows", "\u25B8 D:\\"}));
  EXPECT_EQ(model.SelectedRow(), 1);
  EXPECT_EQ(model.Rows()[4].path, "C:\\Velmora\\Orvane 2\\");
}

TEST_F(FolderTreeModelTest, DeepSelectionShowsOnlyTheOpenedChain) {
  TFolderTreeModel model(machine->files());
  model.Select("C:\\Velmora\\Orvane 2\\Plytki\\");
  ASSERT_GE(model.SelectedRow(), 0);
  const TFolderRow& row = model.Rows()[static_cast<size_t>(model.SelectedRow())];
  EXPECT_EQ(row.name, "Plytki");
  EXPECT_EQ(row.depth, 3);
  EXPECT_EQ(model.Rows().size(), 8u);
}

TEST_F(FolderTreeModelTest, FolderThatIsGoneLeavesNoSelectedRow) {
  TFolderTreeModel model(machine->files());
  model.Select("C:\\Velmora\\Gone\\");
  EXPECT_EQ(model.SelectedRow(), -1);
  EXPECT_EQ(model.Rows().size(), 7u);
}

}  // namespace
}  // namespace dbinst
