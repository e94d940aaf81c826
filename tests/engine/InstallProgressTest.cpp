#include "engine/InstallProgress.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/RecordingProgress.h"

namespace dbinst {
namespace {

using test::RecordingProgress;

class InstallProgressTest : public ::testing::Test {
 protected:
  // A database of no size that finished at the position leaves the overall bar there.
  void PutOverallAt(float position) {
    progress.FinishDatabase(position, 0);
    view.overall.values.clear();
    view.item.values.clear();
    view.pumped = 0;
  }
  void BeginArchive(int32_t items, int64_t bytes) {
    archive.Begin(progress.ArchiveHooks(), items, bytes);
  }

  RecordingProgress view;
  InstallProgress progress{&view};
  ArchiveProgress archive;
};

TEST_F(InstallProgressTest, CopyingFillsFortyPercentAndInstallingTheRest) {
  progress.StartCopying(1000);
  EXPECT_EQ(view.overall.Max(), 2500.0f);
  EXPECT_EQ(view.overall.Value(), 0.0f);
  EXPECT_EQ(view.item.Max(), 100.0f);
  EXPECT_EQ(view.pumped, 1);
  progress.StartInstalling(180);
  EXPECT_EQ(view.overall.Max(), 300.0f);
  EXPECT_EQ(view.overall.Value(), 120.0f);
  progress.FinishDatabase(progress.OverallPosition(), 180);
  EXPECT_EQ(view.overall.Value(), 300.0f);
  EXPECT_EQ(view.item.Value(), view.item.Max());
}

TEST_F(InstallProgressTest, ArchiveStartSetsTheItemRangeAndTruncatesTheStartValue) {
  PutOverallAt(40.7f);
  BeginArchive(3, 1000);
  EXPECT_EQ(view.item.Max(), 1.0f);
  EXPECT_EQ(view.item.values, (std::vector<float>{0.0f}));
  EXPECT_TRUE(view.overall.values.empty());
  EXPECT_EQ(view.pumped, 0);
  archive.OnBytes(1);
  archive.OnBytes(2);
  archive.OnBytes(3);
  EXPECT_FLOAT_EQ(view.overall.Value(), 1000 * view.item.Value() + 40);
}

TEST_F(InstallProgressTest, FourteenItemsMoveTheBarsAtTheSeventhAndFourteenthCall) {
  BeginArchive(14, 1400);
  view.item.values.clear();
  for (int index = 0; index < 14; ++index) {
    archive.OnItem(index);
    const bool due = index == 6 || index == 13;
    EXPECT_EQ(view.item.values.size(), due ? 1u : 0u) << index;
    if (due) {
      EXPECT_FLOAT_EQ(view.item.values[0], index / 14.0f * 0.65f);
      EXPECT_FLOAT_EQ(view.overall.Value(), 1400 * view.item.Value());
    }
    view.item.values.clear();
  }
  EXPECT_EQ(view.pumped, 2);
}

TEST_F(InstallProgressTest, EveryThirdByteReportMovesTheBars) {
  PutOverallAt(500.0f);
  BeginArchive(4, 1000);
  archive.OnItem(2);
  view.item.values.clear();
  for (int report = 1; report <= 9; ++report) archive.OnBytes(report * 100);
  ASSERT_EQ(view.item.values.size(), 3u);
  EXPECT_FLOAT_EQ(view.item.values[0], 2 / 4.0f * 0.65f + 300 / 1000.0f * 0.35f);
  EXPECT_FLOAT_EQ(view.item.values[2], 2 / 4.0f * 0.65f + 900 / 1000.0f * 0.35f);
  EXPECT_FLOAT_EQ(view.overall.Value(), 1000 * view.item.Value() + 500);
  EXPECT_EQ(view.pumped, 3);
}

TEST_F(InstallProgressTest, ArchiveOfEmptyFilesMovesByItemsAlone) {
  PutOverallAt(12.0f);
  BeginArchive(7, 0);
  for (int index = 0; index < 7; ++index) archive.OnItem(index);
  EXPECT_FLOAT_EQ(view.item.Value(), 6 / 7.0f);
  EXPECT_FLOAT_EQ(view.overall.Value(), 12.0f);
}

TEST_F(InstallProgressTest, ResourceCopyMovesTheItemByBytesAndTheOverallFromItsStart) {
  PutOverallAt(100.9f);
  const ResourceCopyHooks& hooks = *progress.ResourceHooks();
  hooks.started(32768);
  hooks.advanced(32768);
  hooks.advanced(32768);
  EXPECT_EQ(view.item.Max(), 32768.0f);
  EXPECT_EQ(view.item.values, (std::vector<float>{0.0f, 32768.0f, 32768.0f}));
  EXPECT_EQ(view.overall.values, (std::vector<float>{32868.0f, 32868.0f}));
  EXPECT_EQ(view.pumped, 3);
}

TEST_F(InstallProgressTest, WithoutAViewNothingIsReportedAndTheStateStillAdvances) {
  InstallProgress silent(nullptr);
  EXPECT_EQ(silent.ResourceHooks(), nullptr);
  EXPECT_EQ(silent.ArchiveHooks(), nullptr);
  silent.StartInstalling(30);
  silent.ShowActivity("unseen");
  silent.ProcessMessages();
  silent.FinishDatabase(silent.OverallPosition(), 30);
  EXPECT_EQ(silent.OverallPosition(), 50.0f);
  EXPECT_EQ(silent.OverallMaximum(), 50.0f);
}

}  // namespace
}  // namespace dbinst
