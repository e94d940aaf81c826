#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace dbinst {

class RegKeyNode;

// Writes a registry file as Wine saves one: keys and values sorted without regard to case, only
// keys with values, links or no subkeys get a section, hex lists wrapped at Wine's column.
class RegFileBuilder {
 public:
  static constexpr std::string_view kDefaultUserSid = "S-1-5-21-0-0-0-1000";

  RegFileBuilder(RegRoot root, bool win64);
  ~RegFileBuilder();
  RegFileBuilder(RegFileBuilder&&) noexcept;
  RegFileBuilder& operator=(RegFileBuilder&&) noexcept;

  // Every key carries this change time; the default is the moment the builder was made.
  void SetTime(int64_t unixSeconds) { unixSeconds_ = unixSeconds; }
  void SetUserSid(std::string_view sid) { userSid_ = sid; }

  void AddKey(std::string_view path);
  void SetValue(std::string_view path, std::string_view name, RegValue value);
  // The target is a path under the same root, or a full "\Registry\..." path.
  void AddLink(std::string_view path, std::string_view target);

  std::string Text() const;
  bool WriteTo(const std::string& hostPath) const;

 private:
  RegKeyNode& Key(std::string_view path);
  std::string RootPath() const;  // "REGISTRY\Machine" or "REGISTRY\User\<sid>"
  void AppendKey(const RegKeyNode& key, const std::string& path, std::string& out) const;

  RegRoot root_;
  bool win64_;
  int64_t unixSeconds_;
  std::string userSid_{kDefaultUserSid};
  std::unique_ptr<RegKeyNode> tree_;
};

}  // namespace dbinst
