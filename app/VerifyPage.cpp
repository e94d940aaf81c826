#include "app/VerifyPage.h"

#include <algorithm>

#include "app/WelcomeBlock.h"
#include "env/TextKeys.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kLinePrefix = " - ";

}  // namespace

TVerifyPage MakeVerifyPage(const TDatabaseAndTargetDatePairVec& existing, const TextOfKey& text) {
  const size_t count = existing.size();
  TVerifyPage page;
  page.Header = text(count < 2 ? TextKey::VerifyHeaderOne : TextKey::VerifyHeaderSeveral);
  page.Foot = text(count < 2 ? TextKey::VerifyFootOne : TextKey::VerifyFootSeveral);
  const size_t shown = std::min(count, kVerifyPairCount);
  for (size_t i = 0; i < shown; ++i) {
    const auto& [database, targetDate] = existing[i];
    // Walls and materials are named as the welcome page names them, so no line is left blank.
    page.Names[i] = std::string(kLinePrefix) + DatabaseLineText(database, text);
    page.Dates[i] = FillPlaceholders(text(TextKey::VerifyDates),
                                     {database.MDate.DisplayText(), targetDate.DisplayText()});
  }
  if (count > kVerifyPairCount) {
    page.Names[kVerifyPairCount - 1] =
        std::string(kLinePrefix) +
        FillPlaceholders(text(TextKey::OtherDatabases), {std::to_string(count - 3)});
    page.Dates[kVerifyPairCount - 1].reset();
  }
  page.NothingOverwritten = count == 0;
  return page;
}

}  // namespace dbinst
