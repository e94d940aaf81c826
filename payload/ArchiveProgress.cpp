#include "payload/ArchiveProgress.h"

#include "env/MessagePump.h"
#include "ui/TvgProgressBar.h"

namespace dbinst {
namespace {

constexpr double kItemShare = 0.65;
constexpr double kByteShare = 0.35;

}  // namespace

void ArchiveProgress::Begin(TvgProgressBar* overallBar, TvgProgressBar* archiveBar,
                            int32_t itemCount, int64_t totalSize) {
  archiveBar_ = archiveBar;
  overallBar_ = overallBar;
  if (archiveBar_ != nullptr) {
    archiveBar_->SetMin(0.0f);
    archiveBar_->SetMax(1.0f);
    archiveBar_->SetValue(0.0f);
  }
  startValue_ = overallBar_ != nullptr ? static_cast<int64_t>(overallBar_->Value()) : 0;
  itemCount_ = itemCount;
  totalSize_ = totalSize;
  currentItem_ = 0;
  bytesDone_ = 0;
  itemHookCounter_ = 0;
  progressHookCounter_ = 0;
}

void ArchiveProgress::Clear() { *this = ArchiveProgress(); }

bool ArchiveProgress::IsEmpty() const {
  return archiveBar_ == nullptr && overallBar_ == nullptr && itemCount_ == 0 && currentItem_ == 0 &&
         startValue_ == 0 && totalSize_ == 0 && bytesDone_ == 0;
}

void ArchiveProgress::OnItem(int32_t index) {
  currentItem_ = index;
  itemHookCounter_ = itemHookCounter_ >= 6 ? 0 : itemHookCounter_ + 1;
  if (itemHookCounter_ == 0) UpdateBars();
}

void ArchiveProgress::OnBytes(int64_t bytesDone) {
  bytesDone_ = bytesDone;
  progressHookCounter_ = progressHookCounter_ >= 2 ? 0 : progressHookCounter_ + 1;
  if (progressHookCounter_ == 0) UpdateBars();
}

// An archive of empty files has no byte fraction; its bar then moves by items alone.
double ArchiveProgress::ArchiveFraction() const {
  const double items = itemCount_ > 0 ? static_cast<double>(currentItem_) / itemCount_ : 0.0;
  if (totalSize_ <= 0) return items;
  return items * kItemShare + static_cast<double>(bytesDone_) / totalSize_ * kByteShare;
}

void ArchiveProgress::UpdateBars() {
  if (archiveBar_ == nullptr) return;
  archiveBar_->SetValue(static_cast<float>(ArchiveFraction()));
  if (overallBar_ != nullptr) {
    overallBar_->SetValue(static_cast<float>(
        static_cast<double>(totalSize_) * archiveBar_->Value() + static_cast<double>(startValue_)));
  }
  ProcessMessages();
}

}  // namespace dbinst
