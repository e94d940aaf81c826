#include "payload/SevenZipStreams.h"

#include "payload/SevenZipLibrary.h"
#include "platform/FileSystem.h"

namespace dbinst::sevenzip {
namespace {

// HRESULT_FROM_WIN32(ERROR_NEGATIVE_SEEK), the code 7-Zip itself answers.
constexpr HRESULT kNegativeSeek = static_cast<HRESULT>(0x80070083u);

}  // namespace

HRESULT FileInStream::QueryInterface(const GUID& iid, void** object) {
  *object = nullptr;
  if (iid == kIidUnknown || iid == kIidSequentialInStream || iid == kIidInStream) {
    *object = static_cast<IInStream*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG FileInStream::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT FileInStream::Read(void* data, uint32_t size, uint32_t* processedSize) {
  return Guarded([&] {
    if (processedSize != nullptr) *processedSize = 0;
    if (size == 0) return S_OK;
    const int64_t read = file_.Read(data, size);
    if (read < 0) return E_FAIL;
    position_ += read;
    if (processedSize != nullptr) *processedSize = static_cast<uint32_t>(read);
    return S_OK;
  });
}

HRESULT FileInStream::Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) {
  return Guarded([&] {
    int64_t base = 0;
    switch (seekOrigin) {
      case 0:
        base = 0;
        break;
      case 1:
        base = position_;
        break;
      case 2:
        base = file_.Size();
        break;
      default:
        return E_INVALIDARG;
    }
    const int64_t target = base + offset;
    if (target < 0) return kNegativeSeek;
    if (!file_.Seek(target)) return E_FAIL;
    position_ = target;
    if (newPosition != nullptr) *newPosition = static_cast<uint64_t>(target);
    return S_OK;
  });
}

FileOutStream::FileOutStream(std::unique_ptr<WritableFile> file) : file_(std::move(file)) {}

FileOutStream::~FileOutStream() { Close(); }

HRESULT FileOutStream::QueryInterface(const GUID& iid, void** object) {
  *object = nullptr;
  if (iid == kIidUnknown || iid == kIidSequentialOutStream) {
    *object = static_cast<ISequentialOutStream*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG FileOutStream::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT FileOutStream::Write(const void* data, uint32_t size, uint32_t* processedSize) {
  return Guarded([&] {
    if (processedSize != nullptr) *processedSize = 0;
    if (!file_) return E_FAIL;
    const int64_t written = file_->Write(data, size);
    if (processedSize != nullptr) *processedSize = static_cast<uint32_t>(written < 0 ? 0 : written);
    if (written != static_cast<int64_t>(size)) {
      failed_ = true;
      return E_FAIL;
    }
    return S_OK;
  });
}

bool FileOutStream::Close() {
  if (file_) {
    if (!file_->Close()) failed_ = true;
    file_.reset();
  }
  return !failed_;
}

}  // namespace dbinst::sevenzip
