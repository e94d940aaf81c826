// The loaded 7-Zip codec library; part of the 7-Zip adapter, included only by its files.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "payload/SevenZipInterfaces.h"

namespace dbinst {

class DynamicLibraries;
class DynamicLibrary;

namespace sevenzip {

// Holds one reference to a COM-style object and releases it.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* object) : object_(object) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Takes over a reference the caller holds, releasing the one held before.
  void Attach(T* object) {
    Reset();
    object_ = object;
  }
  void Reset() {
    if (object_ != nullptr) object_->Release();
    object_ = nullptr;
  }

 private:
  T* object_ = nullptr;
};

// Runs a callback body so that no C++ exception reaches the library, which would abort.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace sevenzip

// 7z.so, loaded once per process and checked for the interface layout we declare.
class SevenZipLibrary {
 public:
  // Null, with the reason in error, when the library cannot be loaded or has another layout.
  static SevenZipLibrary* Shared(DynamicLibraries& libraries, std::string& error);
  // The check behind Shared, for a library loaded by the caller.
  static std::unique_ptr<SevenZipLibrary> FromLoaded(std::unique_ptr<DynamicLibrary> library,
                                                     std::string& error);
  ~SevenZipLibrary();

  // A new 7z archive handler; null when the library will not make one.
  sevenzip::IInArchive* New7zHandler() const;
  // A string the library may free itself, as it does with a password.
  sevenzip::BSTR AllocString(std::string_view utf8) const;
  // Frees what the library left in a property value and empties it.
  void Clear(sevenzip::PROPVARIANT& value) const;

 private:
  SevenZipLibrary(std::unique_ptr<DynamicLibrary> library, sevenzip::CreateObjectFunc create,
                  sevenzip::SysAllocStringFunc alloc, sevenzip::SysFreeStringFunc free);

  std::unique_ptr<DynamicLibrary> library_;
  sevenzip::CreateObjectFunc createObject_;
  sevenzip::SysAllocStringFunc sysAllocString_;
  sevenzip::SysFreeStringFunc sysFreeString_;
};

// UTF-8 from the UTF-16 code units the library hands out in wide characters.
std::string WideUnitsToUtf8(const wchar_t* text);

}  // namespace dbinst
