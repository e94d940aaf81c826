#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/TextOfKey.h"
#include "payload/DatabaseEmbedded.h"

namespace dbinst {

inline constexpr size_t kVerifyPairCount = 4;

// The overwrite page's texts; a line without text is hidden.
struct TVerifyPage {
  std::string Header;
  std::string Foot;
  std::array<std::optional<std::string>, kVerifyPairCount> Names;
  std::array<std::optional<std::string>, kVerifyPairCount> Dates;
  bool NothingOverwritten = true;
};

TVerifyPage MakeVerifyPage(const TDatabaseAndTargetDatePairVec& existing, const TextOfKey& text);

}  // namespace dbinst
