#pragma once

#include <cstdint>
#include <string_view>

namespace dbinst {

// The Windows LANGID of a POSIX locale name such as "pl_PL.UTF-8" or "de"; 0 when unknown. "C" and
// "POSIX" are US English, as Wine takes them.
uint16_t LangIdOfPosixLocale(std::string_view locale);

// The locale the environment names: LC_ALL, then LC_MESSAGES, then LANG; empty when none is set.
std::string_view PosixLocaleFromEnvironment();

// The ANSI code page Windows gives a language: 1250 for Central European, 1251 for Cyrillic, else
// 1252.
uint32_t AnsiCodePageOfLangId(uint16_t langId);

}  // namespace dbinst
