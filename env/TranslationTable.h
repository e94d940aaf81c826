#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class ResourceModule;

// The 1000 interface texts, overlaid section by section from the translation resource.
class TranslationTable {
 public:
  static constexpr int kSlotCount = 1000;
  static constexpr std::string_view kResourceName = "TxtTransl";

  // The empty text for a key outside 0..999 or a slot nothing filled.
  const std::string& Text(int key) const;
  // Empties the table and refills it with 1000 empty texts.
  void Reset();
  // Frees the slots; the table then answers every key with the empty text.
  void Free() { slots_.clear(); }
  // Overlays the slots with the section of the language code; slots the section does not name
  // keep their text. A missing or unreadable resource or section resets the table instead.
  void LoadLanguage(const ResourceModule& resources, std::string_view code);
  // The same over the resource's lines; false (and the table reset) when the section is missing.
  bool LoadSection(const std::vector<std::string>& lines, std::string_view code);

 private:
  void OverlayBody(const std::vector<std::string>& lines, size_t first);

  std::vector<std::string> slots_;
};

}  // namespace dbinst
