#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/JsonWriter.h"
#include "platform/Text.h"
#include "ui/StoredProperties.h"

namespace dbinst {

// One stored property a class declares: its name, what a layout may write for it (the vocabulary
// of resources/forms/README.md), how the loader reads it, and the key under which the automation's
// dump shows the state it sets. Without a name it is state that only the dump shows; without a
// dump key the dump leaves it out.
template <class Owner>
struct TPropertyEntry {
  std::string name;
  std::string values;
  std::function<void(Owner&, const TStoredProperty&)> load;
  std::string dumpKey;
  std::function<void(const Owner&, JsonWriter&)> dump;
};

// The stored properties of one class, leading on to those of its base class.
template <class Owner>
class TPropertyTable {
 public:
  using TEntry = TPropertyEntry<Owner>;

  TPropertyTable(std::string kind, const TPropertyTable* base, std::vector<TEntry> entries)
      : kind_(std::move(kind)), base_(base), entries_(std::move(entries)) {}

  const std::string& Kind() const { return kind_; }
  const TPropertyTable* Base() const { return base_; }
  // The class's own, in the order declared.
  const std::vector<TEntry>& Entries() const { return entries_; }

  // The entry of the stored name, this class's before its base's, compared without regard to case.
  const TEntry* Find(std::string_view name) const {
    for (const TEntry& entry : entries_) {
      if (!entry.name.empty() && EqualsNoCase(entry.name, name)) return &entry;
    }
    return base_ ? base_->Find(name) : nullptr;
  }

  // False when no class of the chain declares the property.
  bool Load(Owner& owner, const TStoredProperty& property) const {
    const TEntry* entry = Find(property.Name());
    if (!entry) return false;
    entry->load(owner, property);
    return true;
  }

  // "key": value of every dumped entry, the base class's first.
  void Dump(const Owner& owner, JsonWriter& json) const {
    if (base_) base_->Dump(owner, json);
    for (const TEntry& entry : entries_) {
      if (entry.dumpKey.empty()) continue;
      json.Key(entry.dumpKey);
      entry.dump(owner, json);
    }
  }

 private:
  std::string kind_;
  const TPropertyTable* base_;
  std::vector<TEntry> entries_;
};

// Declares the table of class Kind, whose objects the table handles as Owner.
template <class Owner, class Kind = Owner>
class TPropertiesOf {
 public:
  using TLoad = std::function<void(Kind&, const TStoredProperty&)>;
  using TDump = std::function<void(const Kind&, JsonWriter&)>;

  TPropertiesOf(std::string kind, const TPropertyTable<Owner>* base)
      : kind_(std::move(kind)), base_(base) {}

  TPropertiesOf& Stored(std::string name, std::string_view values, TLoad load) {
    entries_.push_back({std::move(name),
                        std::string(values),
                        [load = std::move(load)](Owner& owner, const TStoredProperty& property) {
                          load(static_cast<Kind&>(owner), property);
                        },
                        {},
                        {}});
    return *this;
  }

  // The state the property last declared sets, as the dump shows it under key.
  TPropertiesOf& Dumped(std::string key, TDump dump) {
    entries_.back().dumpKey = std::move(key);
    entries_.back().dump = Erased(std::move(dump));
    return *this;
  }

  // State that no layout stores and the dump shows under key.
  TPropertiesOf& Shown(std::string key, TDump dump) {
    entries_.push_back({{}, {}, {}, std::move(key), Erased(std::move(dump))});
    return *this;
  }

  // An identifier out of names; the vocabulary lists them.
  template <class E>
  TPropertiesOf& Enum(std::string name, std::vector<std::pair<std::string_view, E>> names,
                      std::function<void(Kind&, E)> set) {
    std::string values;
    for (const auto& [ident, value] : names) {
      values += (values.empty() ? "`" : ", `") + std::string(ident) + "`";
    }
    return Stored(
        std::move(name), values,
        [names = std::move(names), set = std::move(set)](
            Kind& kind, const TStoredProperty& property) { set(kind, property.Enum(names)); });
  }

  // Font.Family, Font.Size and Font.Style of the kind's font.
  template <class TFontOfKind>
  TPropertiesOf& Font(TFontOfKind Kind::*font) {
    Stored("Font.Family", "a font family name",
           [font](Kind& kind, const TStoredProperty& property) {
             LoadFontFamily(kind.*font, property);
           });
    Stored("Font.Size", "a number above 0 (pixels)",
           [font](Kind& kind, const TStoredProperty& property) {
             LoadFontSize(kind.*font, property);
           });
    return Stored("Font.Style", "a set of `vgFontBold`, `vgFontItalic`",
                  [font](Kind& kind, const TStoredProperty& property) {
                    LoadFontStyle(kind.*font, property);
                  });
  }

  TPropertyTable<Owner> Table() {
    return TPropertyTable<Owner>(std::move(kind_), base_, std::move(entries_));
  }

 private:
  static std::function<void(const Owner&, JsonWriter&)> Erased(TDump dump) {
    return [dump = std::move(dump)](const Owner& owner, JsonWriter& json) {
      dump(static_cast<const Kind&>(owner), json);
    };
  }

  std::string kind_;
  const TPropertyTable<Owner>* base_;
  std::vector<TPropertyEntry<Owner>> entries_;
};

}  // namespace dbinst
