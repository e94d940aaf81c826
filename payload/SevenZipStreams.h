// Streams the 7-Zip library reads and writes, over the platform's files; part of the adapter.
#pragma once

#include <memory>

#include "payload/SevenZipInterfaces.h"

namespace dbinst {

class ReadableFile;
class WritableFile;

namespace sevenzip {

class RefCount {
 public:
  ULONG Add() { return ++count_; }
  ULONG Drop() { return --count_; }

 private:
  ULONG count_ = 1;
};

// Reads the archive in place; the stream does not own the file.
class FileInStream final : public IInStream {
 public:
  explicit FileInStream(ReadableFile& file) : file_(file) {}

  HRESULT QueryInterface(const GUID& iid, void** object) override;
  ULONG AddRef() override { return refs_.Add(); }
  ULONG Release() override;
  HRESULT Read(void* data, uint32_t size, uint32_t* processedSize) override;
  HRESULT Seek(int64_t offset, uint32_t seekOrigin, uint64_t* newPosition) override;

 private:
  RefCount refs_;
  ReadableFile& file_;
  int64_t position_ = 0;
};

// Writes one extracted item; a short write is an error, so a full disk stops the extraction.
class FileOutStream final : public ISequentialOutStream {
 public:
  explicit FileOutStream(std::unique_ptr<WritableFile> file);
  ~FileOutStream();

  HRESULT QueryInterface(const GUID& iid, void** object) override;
  ULONG AddRef() override { return refs_.Add(); }
  ULONG Release() override;
  HRESULT Write(const void* data, uint32_t size, uint32_t* processedSize) override;

  // False when any write fell short or the data did not reach the disk.
  bool Close();

 private:
  RefCount refs_;
  std::unique_ptr<WritableFile> file_;
  bool failed_ = false;
};

}  // namespace sevenzip
}  // namespace dbinst
