#include "payload/SevenZipCallbacks.h"

#include "payload/ArchivePaths.h"
#include "platform/FileSystem.h"

namespace dbinst::sevenzip {
namespace {

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string OperationProblem(int32_t result) {
  switch (result) {
    case 1:
      return "unsupported compression method";
    case 2:
      return "data error (damaged, or a wrong password)";
    case 3:
      return "CRC error";
    case -1:
      return "extraction stopped inside this item";
    default:
      return "operation result " + std::to_string(result);
  }
}

}  // namespace

HRESULT OpenCallback::QueryInterface(const GUID& iid, void** object) {
  *object = nullptr;
  if (iid == kIidUnknown || iid == kIidArchiveOpenCallback) {
    *object = static_cast<IArchiveOpenCallback*>(this);
  } else if (iid == kIidCryptoGetTextPassword) {
    *object = static_cast<ICryptoGetTextPassword*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG OpenCallback::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT OpenCallback::CryptoGetTextPassword(BSTR* password) {
  return Guarded([&] {
    *password = library_.AllocString(password_);
    return *password != nullptr ? S_OK : E_FAIL;
  });
}

HRESULT ExtractCallback::QueryInterface(const GUID& iid, void** object) {
  *object = nullptr;
  if (iid == kIidUnknown || iid == kIidProgress || iid == kIidArchiveExtractCallback) {
    *object = static_cast<IArchiveExtractCallback*>(this);
  } else if (iid == kIidCryptoGetTextPassword) {
    *object = static_cast<ICryptoGetTextPassword*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG ExtractCallback::Release() {
  const ULONG left = refs_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT ExtractCallback::CryptoGetTextPassword(BSTR* password) {
  return Guarded([&] {
    *password = library_.AllocString(password_);
    return *password != nullptr ? S_OK : E_FAIL;
  });
}

HRESULT ExtractCallback::SetTotal(uint64_t total) {
  total_ = total;
  return S_OK;
}

HRESULT ExtractCallback::SetCompleted(const uint64_t* completeValue) {
  return Guarded([&] {
    if (completeValue != nullptr && target_.hooks.progress) {
      target_.hooks.progress(*completeValue, total_);
    }
    return S_OK;
  });
}

HRESULT ExtractCallback::GetStream(uint32_t index, ISequentialOutStream** outStream,
                                   int32_t askExtractMode) {
  return Guarded([&] {
    *outStream = nullptr;
    current_.Reset();
    currentPath_.clear();
    if (askExtractMode != kExtractModeExtract) return S_OK;
    if (index >= target_.items.size()) return E_INVALIDARG;
    return OpenItem(index, outStream);
  });
}

// A skipped item gets no stream: the library then decodes its data without writing it.
HRESULT ExtractCallback::OpenItem(uint32_t index, ISequentialOutStream** outStream) {
  const ArchiveItem& item = target_.items[index];
  currentName_ = item.path;
  const auto relative = RelativePathInside(item.path);
  if (!relative) {
    problems_.push_back("\"" + item.path + "\": refused, the path leaves the destination folder");
    return S_OK;
  }
  const std::string destination = target_.folder + *relative;
  if (target_.hooks.beforeItem && !target_.hooks.beforeItem(index, destination)) return S_OK;
  FileSystem& files = target_.files;
  if (item.isFolder) {
    if (!files.CreateFolders(destination)) {
      problems_.push_back("\"" + item.path + "\": the folder cannot be created");
    }
    return S_OK;
  }
  const std::string parent = ParentOf(destination);
  auto file = files.FolderExists(parent) || files.CreateFolders(parent)
                  ? files.CreateForWrite(destination)
                  : nullptr;
  if (!file) {
    problems_.push_back("\"" + item.path + "\": the file cannot be created");
    return S_OK;
  }
  current_.Attach(new FileOutStream(std::move(file)));
  currentPath_ = destination;
  current_->AddRef();
  *outStream = current_.get();
  return S_OK;
}

HRESULT ExtractCallback::SetOperationResult(int32_t operationResult) {
  return Guarded([&] {
    FinishItem(operationResult);
    return S_OK;
  });
}

void ExtractCallback::FinishInterruptedItem() {
  if (current_) FinishItem(-1);
}

void ExtractCallback::FinishItem(int32_t operationResult) {
  const bool written = current_ ? current_->Close() : true;
  if (operationResult != kOperationResultOk) {
    problems_.push_back("\"" + currentName_ + "\": " + OperationProblem(operationResult));
  } else if (!written) {
    problems_.push_back("\"" + currentName_ + "\": the file could not be written completely");
  }
  // A damaged item's partial file would pass for a good database file.
  if ((operationResult != kOperationResultOk || !written) && !currentPath_.empty()) {
    target_.files.DeleteFile(currentPath_);
  }
  current_.Reset();
  currentPath_.clear();
}

}  // namespace dbinst::sevenzip
