#pragma once

#include <cstdint>

namespace dbinst {

class TvgProgressBar;

// The progress context of one archive extraction; all zero or empty outside it.
class ArchiveProgress {
 public:
  // The archive bar runs from 0 to 1; the overall bar keeps its range and goes on from its value.
  void Begin(TvgProgressBar* overallBar, TvgProgressBar* archiveBar, int32_t itemCount,
             int64_t totalSize);
  void Clear();

  // Before item index is written; the bars move on every 7th call.
  void OnItem(int32_t index);
  // The library's report of bytes written; the bars move on every 3rd call.
  void OnBytes(int64_t bytesDone);

  bool IsEmpty() const;
  TvgProgressBar* ArchiveBar() const { return archiveBar_; }
  TvgProgressBar* OverallBar() const { return overallBar_; }
  int32_t ItemCount() const { return itemCount_; }
  int32_t CurrentItem() const { return currentItem_; }
  int64_t StartValue() const { return startValue_; }
  int64_t TotalSize() const { return totalSize_; }
  int64_t BytesDone() const { return bytesDone_; }

 private:
  void UpdateBars();
  double ArchiveFraction() const;

  TvgProgressBar* archiveBar_ = nullptr;
  TvgProgressBar* overallBar_ = nullptr;
  int32_t itemCount_ = 0;
  int32_t currentItem_ = 0;
  int64_t startValue_ = 0;
  int64_t totalSize_ = 0;
  int64_t bytesDone_ = 0;
  int32_t itemHookCounter_ = 0;
  int32_t progressHookCounter_ = 0;
};

}  // namespace dbinst
