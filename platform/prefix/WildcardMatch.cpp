#include "platform/prefix/WildcardMatch.h"

#include <string>

#include "platform/Text.h"

namespace dbinst {
namespace {

bool Glob(std::u16string_view pattern, std::u16string_view name) {
  size_t p = 0, n = 0;
  size_t starAt = std::u16string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starAt = p++;
      resumeAt = n;
    } else if (starAt != std::u16string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool HasWildcards(std::string_view text) { return text.find_first_of("*?") != text.npos; }

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  const std::u16string upperPattern = Utf8ToUtf16(ToUpper(pattern));
  const std::u16string upperName = Utf8ToUtf16(ToUpper(name));
  if (Glob(upperPattern, upperName)) return true;
  const std::u16string_view view = upperPattern;
  return view.ends_with(u".*") && Glob(view.substr(0, view.size() - 2), upperName);
}

}  // namespace dbinst
