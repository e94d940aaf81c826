#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/TextOfKey.h"
#include "payload/DatabaseEmbedded.h"

namespace dbinst {

inline constexpr size_t kWelcomeLineCount = 6;

// The welcome page's head, its six list lines (nothing = hidden) and its first foot line.
struct TWelcomeBlock {
  std::string Head;
  std::array<std::optional<std::string>, kWelcomeLineCount> Lines;
  std::string Foot01;
};

TWelcomeBlock MakeWelcomeBlock(const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                               const TextOfKey& text);

// "Baza płytek NAME" and its kin: the short text of one database by kind, empty for no kind.
std::string DatabaseLineText(const TDatabaseEmbedded& database, const TextOfKey& text);

}  // namespace dbinst
