#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/prefix/RegFile.h"

namespace dbinst {

// The registry of a Wine prefix: HKEY_LOCAL_MACHINE from system.reg, HKEY_CURRENT_USER from
// user.reg. Keys it hands out read its tree and stay valid while it lives.
class PrefixRegistry : public Registry {
 public:
  // Nothing, with the reason in error, when system.reg cannot be read.
  static std::unique_ptr<PrefixRegistry> Load(const std::string& prefixHostPath,
                                              std::string& error);

  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, std::string_view path,
                                       RegView view = RegView::Wow32) const override;
  // Only HKEY_CURRENT_USER is written: user.reg is replaced atomically with one line changed.
  bool WriteString(RegRoot root, std::string_view path, std::string_view name,
                   std::string_view text) override;

  bool Is64BitPrefix() const { return machine_.IsWin64(); }
  // Remarks for the installation log, each handed out once.
  std::vector<std::string> TakeNotes();

 private:
  PrefixRegistry(std::string prefixHostPath, RegFile machine, RegFile user);

  const RegKeyNode* Walk(RegRoot root, const std::vector<std::string_view>& parts, bool redirect,
                         int& linkHops) const;
  const RegKeyNode* FollowLinks(const RegKeyNode* key, int& linkHops) const;
  void AddProcessorKeyWhenMissing();
  void Note(std::string note) { notes_.push_back(std::move(note)); }

  std::string prefixHostPath_;
  RegFile machine_;
  RegFile user_;
  std::vector<std::string> notes_;
};

}  // namespace dbinst
