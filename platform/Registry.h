#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

enum class RegRoot { LocalMachine, CurrentUser };

// Which registry view a key is opened in; the installer is a 32-bit program, so Wow32 is its view.
enum class RegView { Wow32, Native };

// Value types with the numbers Windows gives them.
enum RegType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegLink = 6,
  kRegMultiSz = 7,
  kRegQword = 11,
};

// A value as Windows stores it: text types hold UTF-16LE code units with their terminating zero.
struct RegValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool ValueExists(std::string_view name) const = 0;
  // The default value is named by the empty string.
  virtual std::optional<RegValue> ReadValue(std::string_view name) const = 0;
  // Value names in the order the registry keeps them.
  virtual std::vector<std::string> ValueNames() const = 0;
  virtual std::vector<std::string> SubKeyNames() const = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key without creating it; null when it does not exist. Paths use backslashes,
  // a leading backslash is ignored, and names compare without regard to case.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegRoot root, std::string_view path,
                                               RegView view = RegView::Wow32) const = 0;
  // Writes a REG_SZ value, creating the key when missing. False when the store cannot be written.
  virtual bool WriteString(RegRoot root, std::string_view path, std::string_view name,
                           std::string_view text) = 0;
};

}  // namespace dbinst
