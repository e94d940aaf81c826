#include "payload/SevenZipLibrary.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/Text.h"

namespace dbinst {

using namespace sevenzip;

namespace {

template <class Func>
Func SymbolOf(const DynamicLibrary& library, const char* name) {
  void* address = library.Symbol(name);
  Func func = nullptr;
  static_assert(sizeof(func) == sizeof(address));
  std::memcpy(&func, &address, sizeof(func));
  return func;
}

}  // namespace

SevenZipLibrary* SevenZipLibrary::Shared(DynamicLibraries& libraries, std::string& error) {
  static std::mutex mutex;
  static std::unique_ptr<SevenZipLibrary> shared;
  const std::lock_guard<std::mutex> lock(mutex);
  if (shared) return shared.get();
  auto loaded = libraries.Load("7z.dll", error);
  if (!loaded) return nullptr;
  shared = FromLoaded(std::move(loaded), error);
  return shared.get();
}

std::unique_ptr<SevenZipLibrary> SevenZipLibrary::FromLoaded(
    std::unique_ptr<DynamicLibrary> library, std::string& error) {
  const auto getModuleProp = SymbolOf<GetModulePropFunc>(*library, "GetModuleProp");
  // p7zip 16.02 has no GetModuleProp and a virtual destructor in IUnknown: calling it would crash.
  if (getModuleProp == nullptr) {
    error = "The 7-Zip library is older than 7-Zip 23 (no GetModuleProp); 7-Zip 23 or later needed";
    return nullptr;
  }
  PROPVARIANT layout{};
  if (getModuleProp(kModulePropInterfaceType, &layout) != S_OK || layout.vt != VT_UI4 ||
      layout.ulVal != 0) {
    error = "The 7-Zip library uses an interface layout this installer does not know";
    return nullptr;
  }
  const auto create = SymbolOf<CreateObjectFunc>(*library, "CreateObject");
  const auto alloc = SymbolOf<SysAllocStringFunc>(*library, "SysAllocString");
  const auto free = SymbolOf<SysFreeStringFunc>(*library, "SysFreeString");
  if (create == nullptr || alloc == nullptr || free == nullptr) {
    error = "The 7-Zip library lacks CreateObject, SysAllocString or SysFreeString";
    return nullptr;
  }
  return std::unique_ptr<SevenZipLibrary>(
      new SevenZipLibrary(std::move(library), create, alloc, free));
}

SevenZipLibrary::SevenZipLibrary(std::unique_ptr<DynamicLibrary> library, CreateObjectFunc create,
                                 SysAllocStringFunc alloc, SysFreeStringFunc free)
    : library_(std::move(library)),
      createObject_(create),
      sysAllocString_(alloc),
      sysFreeString_(free) {}

SevenZipLibrary::~SevenZipLibrary() = default;

IInArchive* SevenZipLibrary::New7zHandler() const {
  void* object = nullptr;
  if (createObject_(&kClsid7zHandler, &kIidInArchive, &object) != S_OK) return nullptr;
  return static_cast<IInArchive*>(object);
}

BSTR SevenZipLibrary::AllocString(std::string_view utf8) const {
  // The library reads wide characters as UTF-16 code units, as on Windows.
  const std::u16string units = Utf8ToUtf16(utf8);
  std::vector<wchar_t> wide(units.begin(), units.end());
  wide.push_back(L'\0');
  return sysAllocString_(wide.data());
}

void SevenZipLibrary::Clear(PROPVARIANT& value) const {
  if (value.vt == VT_BSTR && value.bstrVal != nullptr) sysFreeString_(value.bstrVal);
  value = PROPVARIANT{};
}

std::string WideUnitsToUtf8(const wchar_t* text) {
  std::u16string units;
  for (const wchar_t* p = text; p != nullptr && *p != L'\0'; ++p) {
    const auto code = static_cast<uint32_t>(*p);
    if (code <= 0xFFFF) {
      units.push_back(static_cast<char16_t>(code));
    } else if (code <= 0x10FFFF) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(u'\uFFFD');
    }
  }
  return Utf16ToUtf8(units);
}

}  // namespace dbinst
