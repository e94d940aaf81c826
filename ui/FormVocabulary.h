#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dbinst {

// The vocabulary of the stored layouts in Markdown, made from the property declarations of the
// window, its timers and every scene kind: what resources/forms/README.md shows between its
// markers.
std::string FormVocabulary();

// The text between the markers of the README; nothing when they are missing.
std::optional<std::string> VocabularyIn(std::string_view readme);
// The README with the text between its markers replaced; nothing when they are missing.
std::optional<std::string> WithVocabulary(std::string_view readme, std::string_view vocabulary);

}  // namespace dbinst
