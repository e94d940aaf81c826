// Our own declarations of the 7-Zip library's COM-style interfaces, in the layout of 7-Zip 23
// and later on Linux: IUnknown without a virtual destructor, 32-bit HRESULT, 4-byte wchar_t.
// Only the 7-Zip adapter includes this header.
#pragma once

#include <cstdint>

// Objects of the library carry its own type information, not that of these declarations, so the
// sanitizer's dynamic type check must not judge calls into them.
#define DBINST_CALLS_INTO_7ZIP __attribute__((no_sanitize("vptr")))

namespace dbinst::sevenzip {

using HRESULT = int32_t;
using ULONG = uint32_t;
using PROPID = uint32_t;
using VARTYPE = uint16_t;
using BSTR = wchar_t*;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

struct GUID {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

inline bool operator==(const GUID& a, const GUID& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.data4[i] != b.data4[i]) return false;
  }
  return true;
}

// {23170F69-40C1-278A-0000-00gg00ss0000}
constexpr GUID InterfaceId(uint8_t group, uint8_t sub) {
  return {0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, sub, 0, 0}};
}

inline constexpr GUID kIidUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID kIidProgress = InterfaceId(0, 0x05);
inline constexpr GUID kIidSequentialInStream = InterfaceId(3, 0x01);
inline constexpr GUID kIidSequentialOutStream = InterfaceId(3, 0x02);
inline constexpr GUID kIidInStream = InterfaceId(3, 0x03);
inline constexpr GUID kIidCryptoGetTextPassword = InterfaceId(5, 0x10);
inline constexpr GUID kIidArchiveOpenCallback = InterfaceId(6, 0x10);
inline constexpr GUID kIidArchiveExtractCallback = InterfaceId(6, 0x20);
inline constexpr GUID kIidInArchive = InterfaceId(6, 0x60);
// {23170F69-40C1-278A-1000-000110070000}
inline constexpr GUID kClsid7zHandler = {
    0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};

enum : VARTYPE { VT_EMPTY = 0, VT_BSTR = 8, VT_BOOL = 11, VT_UI4 = 19, VT_UI8 = 21 };
enum : PROPID { kpidPath = 3, kpidIsDir = 6, kpidSize = 7 };
enum : int32_t { kExtractModeExtract = 0 };
enum : int32_t { kOperationResultOk = 0 };
// Ours, for an item the library left open when it stopped.
inline constexpr int32_t kOperationResultInterrupted = -1;
// GetModuleProp(kModulePropInterfaceType) answers 0 for an IUnknown without virtual destructor.
inline constexpr PROPID kModulePropInterfaceType = 0;

struct PROPVARIANT {
  VARTYPE vt;
  uint16_t reserved1;
  uint16_t reserved2;
  uint16_t reserved3;
  union {
    int16_t boolVal;
    uint32_t ulVal;
    uint64_t uhVal;
    BSTR bstrVal;
  };
};
static_assert(sizeof(PROPVARIANT) == 16);

struct IUnknown {
  virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};

struct ISequentialInStream : IUnknown {
  virtual HRESULT Read(void* data, uint32_t size, uint32_t* processedSize) = 0;
};

struct IInStream : ISequentialInStream {
  virtual HRESULT Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) = 0;
};

struct ISequentialOutStream : IUnknown {
  virtual HRESULT Write(const void* data, uint32_t size, uint32_t* processedSize) = 0;
};

struct IProgress : IUnknown {
  virtual HRESULT SetTotal(uint64_t total) = 0;
  virtual HRESULT SetCompleted(const uint64_t* completeValue) = 0;
};

struct ICryptoGetTextPassword : IUnknown {
  virtual HRESULT CryptoGetTextPassword(BSTR* password) = 0;
};

struct IArchiveOpenCallback : IUnknown {
  virtual HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) = 0;
  virtual HRESULT SetCompleted(const uint64_t* files, const uint64_t* bytes) = 0;
};

struct IArchiveExtractCallback : IProgress {
  virtual HRESULT GetStream(uint32_t index, ISequentialOutStream** outStream,
                            int32_t askExtractMode) = 0;
  virtual HRESULT PrepareOperation(int32_t askExtractMode) = 0;
  virtual HRESULT SetOperationResult(int32_t operationResult) = 0;
};

struct IInArchive : IUnknown {
  virtual HRESULT Open(IInStream* stream, const uint64_t* maxCheckStartPosition,
                       IArchiveOpenCallback* openCallback) = 0;
  virtual HRESULT Close() = 0;
  virtual HRESULT GetNumberOfItems(uint32_t* numItems) = 0;
  virtual HRESULT GetProperty(uint32_t index, PROPID propId, PROPVARIANT* value) = 0;
  virtual HRESULT Extract(const uint32_t* indices, uint32_t numItems, int32_t testMode,
                          IArchiveExtractCallback* extractCallback) = 0;
  virtual HRESULT GetArchiveProperty(PROPID propId, PROPVARIANT* value) = 0;
  virtual HRESULT GetNumberOfProperties(uint32_t* numProps) = 0;
  virtual HRESULT GetPropertyInfo(uint32_t index, BSTR* name, PROPID* propId, VARTYPE* varType) = 0;
  virtual HRESULT GetNumberOfArchiveProperties(uint32_t* numProps) = 0;
  virtual HRESULT GetArchivePropertyInfo(uint32_t index, BSTR* name, PROPID* propId,
                                         VARTYPE* varType) = 0;
};

using CreateObjectFunc = HRESULT (*)(const GUID* classId, const GUID* interfaceId, void** object);
using GetModulePropFunc = HRESULT (*)(PROPID propId, PROPVARIANT* value);
using SysAllocStringFunc = BSTR (*)(const wchar_t* text);
using SysFreeStringFunc = void (*)(BSTR text);

}  // namespace dbinst::sevenzip
