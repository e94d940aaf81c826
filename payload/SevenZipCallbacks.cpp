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

std::string HresultText(HRESULT result) {
  static const char* digits = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) {
    text += digits[(static_cast<uint32_t>(result) >> shift) & 0xF];
  }
  return text;
}

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
  passwordAsked_ = true;
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
  passwordAsked_ = true;
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
    return Cancelled() ? E_ABORT : S_OK;
  });
}

bool ExtractCallback::Cancelled() const {
  return target_.hooks.cancelled && target_.hooks.cancelled();
}

EArchiveFailure ExtractCallback::Failure() const {
  if (failure_ == EArchiveFailure::WrongPassword && passwordProven_)
    return EArchiveFailure::Damaged;
  return failure_;
}

void ExtractCallback::Fail(EArchiveFailure failure, std::string problem) {
  problems_.push_back(std::move(problem));
  if (failure_ == EArchiveFailure::None) failure_ = failure;
}

void ExtractCallback::LibraryStopped(HRESULT result) {
  const bool cancelled = result == E_ABORT && Cancelled();
  problems_.push_back(cancelled ? "the extraction was cancelled"
                                : "the 7-Zip library stopped: error " + HresultText(result));
  // A stop asked for is the cause, whatever it left unfinished.
  if (cancelled) {
    failure_ = EArchiveFailure::Cancelled;
  } else if (failure_ == EArchiveFailure::None) {
    failure_ = EArchiveFailure::Damaged;
  }
}

HRESULT ExtractCallback::GetStream(uint32_t index, ISequentialOutStream** outStream,
                                   int32_t askExtractMode) {
  return Guarded([&] {
    *outStream = nullptr;
    current_.Reset();
    currentPath_.clear();
    if (askExtractMode != kExtractModeExtract) return S_OK;
    if (Cancelled()) return E_ABORT;
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
    Fail(EArchiveFailure::Refused,
         "\"" + item.path + "\": refused, the path leaves the destination folder");
    return S_OK;
  }
  const std::string destination = target_.folder + *relative;
  if (target_.hooks.beforeItem && !target_.hooks.beforeItem(index, destination)) return S_OK;
  FileSystem& files = target_.files;
  if (item.isFolder) {
    if (!EnsureFolder(destination)) {
      Fail(EArchiveFailure::WriteFailed, "\"" + item.path + "\": the folder cannot be created");
    }
    return S_OK;
  }
  auto file = EnsureFolder(ParentOf(destination)) ? files.CreateForWrite(destination) : nullptr;
  if (!file) {
    Fail(EArchiveFailure::WriteFailed, "\"" + item.path + "\": the file cannot be created");
    return S_OK;
  }
  current_.Attach(new FileOutStream(std::move(file)));
  currentPath_ = destination;
  current_->AddRef();
  *outStream = current_.get();
  return S_OK;
}

bool ExtractCallback::EnsureFolder(const std::string& folder) {
  if (knownFolders_.contains(folder)) return true;
  FileSystem& files = target_.files;
  if (!files.FolderExists(folder) && !files.CreateFolders(folder)) return false;
  knownFolders_.insert(folder);
  return true;
}

HRESULT ExtractCallback::SetOperationResult(int32_t operationResult) {
  return Guarded([&] {
    FinishItem(operationResult);
    return S_OK;
  });
}

void ExtractCallback::FinishInterruptedItem() {
  if (current_) FinishItem(kOperationResultInterrupted);
}

void ExtractCallback::FinishItem(int32_t operationResult) {
  const bool written = current_ ? current_->Close() : true;
  // A file the disk refused stops the library too, and is the cause whatever it reports then.
  if (!written) {
    Fail(EArchiveFailure::WriteFailed,
         "\"" + currentName_ + "\": the file could not be written completely");
  } else if (operationResult == kOperationResultInterrupted) {
    Fail(Cancelled() ? EArchiveFailure::Cancelled : EArchiveFailure::Damaged,
         "\"" + currentName_ + "\": " + OperationProblem(operationResult));
  } else if (operationResult != kOperationResultOk) {
    // Our archives all carry one password, so bad data behind it means the archive wants another.
    Fail(passwordAsked_ ? EArchiveFailure::WrongPassword : EArchiveFailure::Damaged,
         "\"" + currentName_ + "\": " + OperationProblem(operationResult));
  } else if (passwordAsked_) {
    passwordProven_ = true;
  }
  // A damaged item's partial file would pass for a good database file.
  if ((operationResult != kOperationResultOk || !written) && !currentPath_.empty()) {
    target_.files.DeleteFile(currentPath_);
  }
  current_.Reset();
  currentPath_.clear();
}

}  // namespace dbinst::sevenzip
