#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbinst {

// 0xAARRGGBB, written "#AARRGGBB" in layouts and answers.
using TAlphaColor = uint32_t;

inline constexpr TAlphaColor kColorBlack = 0xFF000000;
inline constexpr TAlphaColor kColorWarningRed = 0xFFC04040;
inline constexpr TAlphaColor kColorDimmed = 0x60000000;

std::string AlphaColorText(TAlphaColor color);
// "#AARRGGBB" or "#RRGGBB" (opaque), without regard to case; nothing for anything else.
std::optional<TAlphaColor> ParseAlphaColor(std::string_view text);

}  // namespace dbinst
