#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace dbinst {

// Readers with the rules of a class library's registry object: a value of the wrong type or size
// gives nothing rather than a guess.
std::optional<std::string> RegValueText(const RegValue& value);     // REG_SZ, REG_EXPAND_SZ
std::optional<int32_t> RegValueInteger(const RegValue& value);      // REG_DWORD
std::optional<double> RegValueDouble(const RegValue& value);        // REG_BINARY of 8 bytes
std::vector<std::string> RegValueMultiText(const RegValue& value);  // REG_MULTI_SZ

// The UTF-16 code units of the value's data, its terminating zeros included.
std::u16string RegValueUnits(const RegValue& value);

RegValue MakeRegText(std::string_view utf8, uint32_t type = kRegSz);
RegValue MakeRegDword(uint32_t number);

}  // namespace dbinst
