#include "payload/ArchiveProgress.h"

#include <gtest/gtest.h>

#include <vector>

#include "env/MessagePump.h"
#include "ui/TvgProgressBar.h"

namespace dbinst {
namespace {

// A toolkit bar that also remembers every value it was given.
class RecordingBar : public TvgProgressBar {
 public:
  void SetValue(float value) override {
    values.push_back(value);
    TvgProgressBar::SetValue(value);
  }
  std::vector<float> values;
};

class ArchiveProgressTest : public ::testing::Test {
 protected:
  ArchiveProgressTest() {
    SetMessagePump([this] { ++pumped; });
  }
  ~ArchiveProgressTest() override { SetMessagePump(nullptr); }

  int pumped = 0;
  RecordingBar overall;
  RecordingBar archive;
  ArchiveProgress progress;
};

TEST_F(ArchiveProgressTest, BeginSetsTheArchiveBarRangeAndTruncatesTheStartValue) {
  overall.SetValue(40.7f);
  progress.Begin(&overall, &archive, 3, 1000);
  EXPECT_EQ(archive.Min(), 0.0f);
  EXPECT_EQ(archive.Max(), 1.0f);
  EXPECT_EQ(archive.Value(), 0.0f);
  EXPECT_EQ(progress.StartValue(), 40);
  EXPECT_EQ(progress.ItemCount(), 3);
  EXPECT_EQ(progress.TotalSize(), 1000);
  EXPECT_EQ(pumped, 0);
}

TEST_F(ArchiveProgressTest, FourteenItemsMoveTheBarsAtTheSeventhAndFourteenthCall) {
  progress.Begin(&overall, &archive, 14, 1400);
  archive.values.clear();
  for (int index = 0; index < 14; ++index) {
    progress.OnItem(index);
    const bool due = index == 6 || index == 13;
    EXPECT_EQ(archive.values.size(), due ? 1u : 0u) << index;
    if (due) {
      EXPECT_FLOAT_EQ(archive.values[0], index / 14.0f * 0.65f);
      EXPECT_FLOAT_EQ(overall.Value(), 1400 * archive.Value());
    }
    archive.values.clear();
  }
  EXPECT_EQ(pumped, 2);
  EXPECT_EQ(progress.CurrentItem(), 13);
}

TEST_F(ArchiveProgressTest, EveryThirdByteReportMovesTheBars) {
  overall.SetValue(500.0f);
  progress.Begin(&overall, &archive, 4, 1000);
  progress.OnItem(2);
  archive.values.clear();
  for (int report = 1; report <= 9; ++report) progress.OnBytes(report * 100);
  ASSERT_EQ(archive.values.size(), 3u);
  EXPECT_FLOAT_EQ(archive.values[0], 2 / 4.0f * 0.65f + 300 / 1000.0f * 0.35f);
  EXPECT_FLOAT_EQ(archive.values[2], 2 / 4.0f * 0.65f + 900 / 1000.0f * 0.35f);
  EXPECT_FLOAT_EQ(overall.Value(), 1000 * archive.Value() + 500);
  EXPECT_EQ(progress.BytesDone(), 900);
  EXPECT_EQ(pumped, 3);
}

TEST_F(ArchiveProgressTest, WithoutAnArchiveBarNothingMovesAndNoMessagesArePumped) {
  progress.Begin(&overall, nullptr, 7, 70);
  overall.values.clear();
  for (int index = 0; index < 7; ++index) progress.OnItem(index);
  for (int report = 0; report < 3; ++report) progress.OnBytes(report);
  EXPECT_TRUE(overall.values.empty());
  EXPECT_EQ(pumped, 0);
}

TEST_F(ArchiveProgressTest, OnlyAnArchiveBarStillMoves) {
  progress.Begin(nullptr, &archive, 7, 70);
  for (int index = 0; index < 7; ++index) progress.OnItem(index);
  EXPECT_FLOAT_EQ(archive.Value(), 6 / 7.0f * 0.65f);
  EXPECT_EQ(pumped, 1);
}

TEST_F(ArchiveProgressTest, ArchiveOfEmptyFilesMovesByItemsAlone) {
  overall.SetValue(12.0f);
  progress.Begin(&overall, &archive, 7, 0);
  for (int index = 0; index < 7; ++index) progress.OnItem(index);
  EXPECT_FLOAT_EQ(archive.Value(), 6 / 7.0f);
  EXPECT_FLOAT_EQ(overall.Value(), 12.0f);
}

TEST_F(ArchiveProgressTest, ClearEmptiesTheContext) {
  overall.SetValue(3.0f);
  progress.Begin(&overall, &archive, 2, 10);
  progress.OnItem(1);
  progress.OnBytes(5);
  EXPECT_FALSE(progress.IsEmpty());
  progress.Clear();
  EXPECT_TRUE(progress.IsEmpty());
  EXPECT_EQ(progress.ArchiveBar(), nullptr);
  EXPECT_EQ(progress.OverallBar(), nullptr);
}

}  // namespace
}  // namespace dbinst
