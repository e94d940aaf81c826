#include "platform/prefix/SdlMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace dbinst {
namespace {

// Hides the display variables for one test and restores them afterwards.
class WithoutDisplay {
 public:
  WithoutDisplay() : x11_(Take("DISPLAY")), wayland_(Take("WAYLAND_DISPLAY")) {}
  ~WithoutDisplay() {
    if (x11_) ::setenv("DISPLAY", x11_->c_str(), 1);
    if (wayland_) ::setenv("WAYLAND_DISPLAY", wayland_->c_str(), 1);
  }

 private:
  static std::optional<std::string> Take(const char* name) {
    const char* value = std::getenv(name);
    std::optional<std::string> saved = value ? std::optional<std::string>(value) : std::nullopt;
    ::unsetenv(name);
    return saved;
  }
  std::optional<std::string> x11_;
  std::optional<std::string> wayland_;
};

TEST(SdlMessageBoxTest, WithoutDisplayTheTextGoesToStandardErrorAndTheQuestionReadsNo) {
  WithoutDisplay hidden;
  SdlMessageBox box;
  ::testing::internal::CaptureStderr();
  box.Tell("Installer does not contain any databases.", "Notice");
  const bool answer = box.AskYesNo("Are you sure?", "Question");
  const std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(answer);
  EXPECT_NE(written.find("Notice: Installer does not contain any databases."), std::string::npos);
  EXPECT_NE(written.find("Question: Are you sure?"), std::string::npos);
}

}  // namespace
}  // namespace dbinst
