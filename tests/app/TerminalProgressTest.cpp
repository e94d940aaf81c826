#include "app/TerminalProgress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dbinst {
namespace {

TEST(TerminalProgressTest, ALineStartsOverAndBlanksWhatALongerOneLeft) {
  EXPECT_EQ(TTerminalProgress::Line(42, "Copying", 0), "\r 42% Copying");
  EXPECT_EQ(TTerminalProgress::Line(100, "Done", 13), "\r100% Done    ");
  EXPECT_EQ(TTerminalProgress::Line(-3, "", 0), "\r  0% ");
  EXPECT_EQ(TTerminalProgress::Line(250, "", 0), "\r100% ");
}

// A view that counts what it was shown, to see the composite hand everything on.
class CountingView : public ProgressView {
 public:
  void ShowOverall(float, float position) override { positions.push_back(position); }
  void ShowItem(float, float) override { ++items; }
  void ShowActivity(std::string_view text) override { activity = std::string(text); }
  void ProcessMessages() override { ++pumped; }
  std::vector<float> positions;
  int items = 0;
  int pumped = 0;
  std::string activity;
};

TEST(TerminalProgressTest, SeveralViewsAreShownAsOne) {
  CountingView first;
  CountingView second;
  TProgressViews views;
  views.Add(first);
  views.Add(second);
  views.ShowOverall(10, 4);
  views.ShowItem(1, 0.5f);
  views.ShowActivity("Installing");
  views.ProcessMessages();
  for (const CountingView* view : {&first, &second}) {
    EXPECT_EQ(view->positions, (std::vector<float>{4}));
    EXPECT_EQ(view->items, 1);
    EXPECT_EQ(view->activity, "Installing");
    EXPECT_EQ(view->pumped, 1);
  }
}

}  // namespace
}  // namespace dbinst
