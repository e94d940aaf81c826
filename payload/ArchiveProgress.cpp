#include "payload/ArchiveProgress.h"

namespace dbinst {

void ArchiveProgress::Begin(const ArchiveProgressHooks* hooks, int32_t itemCount,
                            int64_t totalSize) {
  hooks_ = hooks;
  itemCount_ = itemCount;
  totalSize_ = totalSize;
  currentItem_ = 0;
  bytesDone_ = 0;
  itemHookCounter_ = 0;
  progressHookCounter_ = 0;
  if (hooks_ && hooks_->started) hooks_->started(*this);
}

void ArchiveProgress::Clear() { *this = ArchiveProgress(); }

bool ArchiveProgress::IsEmpty() const {
  return hooks_ == nullptr && itemCount_ == 0 && currentItem_ == 0 && totalSize_ == 0 &&
         bytesDone_ == 0;
}

void ArchiveProgress::OnItem(int32_t index) {
  currentItem_ = index;
  itemHookCounter_ = itemHookCounter_ >= 6 ? 0 : itemHookCounter_ + 1;
  if (itemHookCounter_ == 0) Report();
}

void ArchiveProgress::OnBytes(int64_t bytesDone) {
  bytesDone_ = bytesDone;
  progressHookCounter_ = progressHookCounter_ >= 2 ? 0 : progressHookCounter_ + 1;
  if (progressHookCounter_ == 0) Report();
}

void ArchiveProgress::Report() const {
  if (hooks_ && hooks_->advanced) hooks_->advanced(*this);
}

}  // namespace dbinst
