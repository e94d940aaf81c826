#include "ui/TTimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "tests/ui/HeadlessUi.h"

namespace dbinst {
namespace {

using Firings = std::vector<std::pair<std::string, uint64_t>>;

// A virtual clock at 0: a script with no commands.
class TTimerTest : public ::testing::Test {
 protected:
  TTimerTest() { ui.StartScript(""); }
  void Record(TTimer& timer) {
    timer.OnTimer = [this](TTimer& sender) {
      firings.emplace_back(sender.Name(), test::HeadlessUi::App().Now());
    };
  }
  test::HeadlessUi ui;
  Firings firings;
};

TEST_F(TTimerTest, TimersFireEveryIntervalInTheOrderTheyFallDueAsTheVirtualClockAdvances) {
  TTimer slow("Slow");
  TTimer fast("Fast");
  slow.SetInterval(300);
  fast.SetInterval(250);
  Record(slow);
  Record(fast);
  test::HeadlessUi::App().AdvanceClock(800);
  EXPECT_EQ(firings, (Firings{{"Fast", 250}, {"Slow", 300}, {"Fast", 500}, {"Slow", 600},
                              {"Fast", 750}}));
  EXPECT_EQ(test::HeadlessUi::App().Now(), 800u);
  // Nothing fires without the clock moving, however many rounds run.
  test::HeadlessUi::App().ProcessMessages();
  test::HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(firings.size(), 5u);
}

TEST_F(TTimerTest, EnablingAndChangingTheIntervalStartANewIntervalFromNow) {
  TTimer timer("Check");
  timer.SetInterval(250);
  timer.SetEnabled(false);
  Record(timer);
  test::HeadlessUi::App().AdvanceClock(1000);
  EXPECT_TRUE(firings.empty());
  timer.SetEnabled(true);
  EXPECT_EQ(timer.DueAt(), 1250u);
  test::HeadlessUi::App().AdvanceClock(100);
  timer.SetInterval(1000);
  EXPECT_EQ(timer.DueAt(), 2100u);
  // Setting the same interval again leaves the running one alone.
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  EXPECT_EQ(timer.DueAt(), 2100u);
}

TEST_F(TTimerTest, AHandlerMayDetachItselfOrStopItsTimer) {
  TTimer detached("Detached");
  TTimer stopped("Stopped");
  detached.SetInterval(100);
  stopped.SetInterval(100);
  int detachedRuns = 0;
  int stoppedRuns = 0;
  detached.OnTimer = [&](TTimer& sender) {
    ++detachedRuns;
    sender.OnTimer = nullptr;
  };
  stopped.OnTimer = [&](TTimer& sender) {
    ++stoppedRuns;
    sender.SetEnabled(false);
  };
  test::HeadlessUi::App().AdvanceClock(1000);
  EXPECT_EQ(detachedRuns, 1);
  EXPECT_EQ(stoppedRuns, 1);
  // A detached timer keeps running without effect.
  EXPECT_TRUE(detached.Enabled());
  EXPECT_EQ(detached.DueAt(), 1100u);
  EXPECT_FALSE(stopped.Enabled());
}

TEST_F(TTimerTest, ATimerDestroyedByAnEarlierHandlerOfTheSameRoundDoesNotFire) {
  TTimer killer("Killer");
  auto victim = std::make_unique<TTimer>("Victim");
  killer.SetInterval(0);
  victim->SetInterval(0);
  bool victimFired = false;
  victim->OnTimer = [&](TTimer&) { victimFired = true; };
  killer.OnTimer = [&](TTimer&) { victim.reset(); };
  test::HeadlessUi::App().FireDueTimers();
  EXPECT_FALSE(victim);
  EXPECT_FALSE(victimFired);
}

TEST(TTimerRealClockTest, AHandlerThatRunsLongerThanTheIntervalLeavesNoBacklog) {
  test::HeadlessUi ui;
  TTimer timer("Slow");
  timer.SetInterval(10);
  int runs = 0;
  timer.OnTimer = [&](TTimer&) {
    ++runs;
    std::this_thread::sleep_for(std::chrono::milliseconds(35));
  };
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  for (int round = 0; round < 3; ++round) test::HeadlessUi::App().FireDueTimers();
  EXPECT_EQ(runs, 3);
}

}  // namespace
}  // namespace dbinst
