#pragma once

#include <cstdint>
#include <functional>

namespace dbinst {

class ArchiveProgress;

// How an archive extraction tells its progress. Any of them may be empty.
struct ArchiveProgressHooks {
  // Once the items are counted, before the first one is written.
  std::function<void(const ArchiveProgress&)> started;
  // On every 7th item and every 3rd byte report of the library: a point where the window may
  // process its messages.
  std::function<void(const ArchiveProgress&)> advanced;
  // True stops the extraction at the next item or progress report.
  std::function<bool()> cancelled;
};

// How copying a resource into a file tells its progress; each call is also a point where the
// window may process its messages.
struct ResourceCopyHooks {
  // Before the first chunk, with the resource's size.
  std::function<void(int64_t size)> started;
  // After every chunk but every 60th, and once more at the end, with the bytes copied so far.
  std::function<void(int64_t copied)> advanced;
  // True stops the copy after the chunk in hand; the partial file is removed.
  std::function<bool()> cancelled;
};

// The progress context of one archive extraction; all zero or empty outside it.
class ArchiveProgress {
 public:
  // hooks may be null: the extraction then reports nothing.
  void Begin(const ArchiveProgressHooks* hooks, int32_t itemCount, int64_t totalSize);
  void Clear();

  // Before item index is written; reports on every 7th call.
  void OnItem(int32_t index);
  // The library's report of bytes written; reports on every 3rd call.
  void OnBytes(int64_t bytesDone);

  bool IsEmpty() const;
  int32_t ItemCount() const { return itemCount_; }
  int32_t CurrentItem() const { return currentItem_; }
  int64_t TotalSize() const { return totalSize_; }
  int64_t BytesDone() const { return bytesDone_; }

 private:
  void Report() const;

  const ArchiveProgressHooks* hooks_ = nullptr;
  int32_t itemCount_ = 0;
  int32_t currentItem_ = 0;
  int64_t totalSize_ = 0;
  int64_t bytesDone_ = 0;
  int32_t itemHookCounter_ = 0;
  int32_t progressHookCounter_ = 0;
};

}  // namespace dbinst
