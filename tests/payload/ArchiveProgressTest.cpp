#include "payload/ArchiveProgress.h"

#include <gtest/gtest.h>

#include <vector>

namespace dbinst {
namespace {

class ArchiveProgressTest : public ::testing::Test {
 protected:
  ArchiveProgressTest() {
    hooks.started = [this](const ArchiveProgress& progress) {
      started.push_back(progress.ItemCount());
    };
    hooks.advanced = [this](const ArchiveProgress& progress) {
      reportedItems.push_back(progress.CurrentItem());
      reportedBytes.push_back(progress.BytesDone());
    };
  }

  ArchiveProgressHooks hooks;
  std::vector<int32_t> started;
  std::vector<int32_t> reportedItems;
  std::vector<int64_t> reportedBytes;
  ArchiveProgress progress;
};

TEST_F(ArchiveProgressTest, BeginKeepsTheCountsAndTellsTheStartOnce) {
  progress.Begin(&hooks, 3, 1000);
  EXPECT_EQ(progress.ItemCount(), 3);
  EXPECT_EQ(progress.TotalSize(), 1000);
  EXPECT_EQ(started, (std::vector<int32_t>{3}));
  EXPECT_TRUE(reportedItems.empty());
}

TEST_F(ArchiveProgressTest, FourteenItemsReportAtTheSeventhAndFourteenthCall) {
  progress.Begin(&hooks, 14, 1400);
  for (int index = 0; index < 14; ++index) progress.OnItem(index);
  EXPECT_EQ(reportedItems, (std::vector<int32_t>{6, 13}));
  EXPECT_EQ(progress.CurrentItem(), 13);
}

TEST_F(ArchiveProgressTest, EveryThirdByteReportIsPassedOn) {
  progress.Begin(&hooks, 4, 1000);
  progress.OnItem(2);
  for (int report = 1; report <= 9; ++report) progress.OnBytes(report * 100);
  EXPECT_EQ(reportedBytes, (std::vector<int64_t>{300, 600, 900}));
  EXPECT_EQ(reportedItems, (std::vector<int32_t>{2, 2, 2}));
  EXPECT_EQ(progress.BytesDone(), 900);
}

TEST_F(ArchiveProgressTest, WithoutHooksNothingIsReported) {
  progress.Begin(nullptr, 7, 70);
  for (int index = 0; index < 7; ++index) progress.OnItem(index);
  for (int report = 0; report < 3; ++report) progress.OnBytes(report);
  EXPECT_TRUE(started.empty());
  EXPECT_TRUE(reportedItems.empty());
  EXPECT_EQ(progress.CurrentItem(), 6);
}

TEST_F(ArchiveProgressTest, ClearEmptiesTheContext) {
  progress.Begin(&hooks, 2, 10);
  progress.OnItem(1);
  progress.OnBytes(5);
  EXPECT_FALSE(progress.IsEmpty());
  progress.Clear();
  EXPECT_TRUE(progress.IsEmpty());
  progress.OnItem(1);
  for (int report = 0; report < 6; ++report) progress.OnBytes(report);
  EXPECT_TRUE(reportedItems.empty()) << "a cleared context keeps no hooks";
}

}  // namespace
}  // namespace dbinst
