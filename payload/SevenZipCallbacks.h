// The callbacks the 7-Zip library calls while opening and extracting; part of the adapter.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "payload/SevenZipInterfaces.h"
#include "payload/SevenZipLibrary.h"
#include "payload/SevenZipReader.h"
#include "payload/SevenZipStreams.h"

namespace dbinst {

class FileSystem;

namespace sevenzip {

// "0x80004004"
std::string HresultText(HRESULT result);

// Offers the password while the archive's headers are read.
class OpenCallback final : public IArchiveOpenCallback, public ICryptoGetTextPassword {
 public:
  OpenCallback(const SevenZipLibrary& library, std::string password)
      : library_(library), password_(std::move(password)) {}

  HRESULT QueryInterface(const GUID& iid, void** object) override;
  ULONG AddRef() override { return refs_.Add(); }
  ULONG Release() override;
  HRESULT SetTotal(const uint64_t*, const uint64_t*) override { return S_OK; }
  HRESULT SetCompleted(const uint64_t*, const uint64_t*) override { return S_OK; }
  HRESULT CryptoGetTextPassword(BSTR* password) override;
  // The headers are encrypted: a failed open then means another password.
  bool PasswordAsked() const { return passwordAsked_; }

 private:
  RefCount refs_;
  const SevenZipLibrary& library_;
  std::string password_;
  bool passwordAsked_ = false;
};

struct ExtractTarget {
  FileSystem& files;
  std::string folder;  // Windows path with a trailing backslash
  const std::vector<ArchiveItem>& items;
  const ArchiveHooks& hooks;
};

// Gives the library an output file for each item and judges each item's result.
class ExtractCallback final : public IArchiveExtractCallback, public ICryptoGetTextPassword {
 public:
  ExtractCallback(const SevenZipLibrary& library, std::string password, ExtractTarget target)
      : library_(library), password_(std::move(password)), target_(std::move(target)) {}

  HRESULT QueryInterface(const GUID& iid, void** object) override;
  ULONG AddRef() override { return refs_.Add(); }
  ULONG Release() override;
  HRESULT SetTotal(uint64_t total) override;
  HRESULT SetCompleted(const uint64_t* completeValue) override;
  HRESULT GetStream(uint32_t index, ISequentialOutStream** outStream,
                    int32_t askExtractMode) override;
  HRESULT PrepareOperation(int32_t) override { return S_OK; }
  HRESULT SetOperationResult(int32_t operationResult) override;
  HRESULT CryptoGetTextPassword(BSTR* password) override;

  // An item the library left open when it stopped counts as failed; its file goes.
  void FinishInterruptedItem();
  // Why items failed, one line each; empty when every item was written.
  const std::vector<std::string>& Problems() const { return problems_; }
  // The cause of the first problem; None while there is none. Bad data behind the password is a
  // wrong password unless the password was seen to work: on the headers or on another item.
  EArchiveFailure Failure() const;
  void PasswordProvenByHeaders() { passwordProven_ = true; }
  // The library stopped with this result before it was done.
  void LibraryStopped(HRESULT result);

 private:
  HRESULT OpenItem(uint32_t index, ISequentialOutStream** outStream);
  bool EnsureFolder(const std::string& folder);
  void FinishItem(int32_t operationResult);
  bool Cancelled() const;
  void Fail(EArchiveFailure failure, std::string problem);

  RefCount refs_;
  const SevenZipLibrary& library_;
  std::string password_;
  ExtractTarget target_;
  uint64_t total_ = 0;
  std::string currentPath_;
  std::string currentName_;
  ComPtr<FileOutStream> current_;
  std::vector<std::string> problems_;
  EArchiveFailure failure_ = EArchiveFailure::None;
  bool passwordAsked_ = false;
  bool passwordProven_ = false;
  // Folders known to exist; asking the file system again for each item costs more than decoding.
  std::set<std::string> knownFolders_;
};

}  // namespace sevenzip
}  // namespace dbinst
