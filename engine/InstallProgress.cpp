#include "engine/InstallProgress.h"

#include <utility>

#include "engine/ProgressView.h"

namespace dbinst {
namespace {

// Copying is the quicker step: the archives' total, times 2.5, makes copying all of them 40 %.
constexpr double kCopyRangeFactor = 2.5;
// Unpacking takes the remaining 60 %: the unpacked total is 3/5 of a range of 5/3 times it.
constexpr double kInstallRangeFactor = 5.0 / 3.0;
constexpr double kInstallStartShare = 0.4;
// Inside one archive, items count for more than bytes: a database holds many small pictures.
constexpr double kItemShare = 0.65;
constexpr double kByteShare = 0.35;
// The item bar's range while nothing is being copied or unpacked.
constexpr float kIdleItemMaximum = 100;

}  // namespace

InstallProgress::InstallProgress(ProgressView* view, std::function<bool()> cancelled)
    : view_(view), cancelled_(std::move(cancelled)) {
  resourceHooks_.cancelled = cancelled_;
  archiveHooks_.cancelled = cancelled_;
  resourceHooks_.started = [this](int64_t size) { ResourceStarted(size); };
  resourceHooks_.advanced = [this](int64_t copied) { ResourceAdvanced(copied); };
  archiveHooks_.started = [this](const ArchiveProgress&) { ArchiveStarted(); };
  archiveHooks_.advanced = [this](const ArchiveProgress& archive) { ArchiveAdvanced(archive); };
}

void InstallProgress::ShowBars() {
  if (!view_) return;
  view_->ShowOverall(overallMax_, overallValue_);
  view_->ShowItem(itemMax_, itemValue_);
}

void InstallProgress::ProcessMessages() {
  if (view_) view_->ProcessMessages();
}

void InstallProgress::StartCopying(int64_t totalArchiveBytes) {
  overallMax_ = static_cast<float>(static_cast<double>(totalArchiveBytes) * kCopyRangeFactor);
  overallValue_ = 0;
  itemMax_ = kIdleItemMaximum;
  itemValue_ = 0;
  ShowBars();
  ProcessMessages();
}

void InstallProgress::StartInstalling(int64_t totalTargetBytes) {
  const double maximum = static_cast<double>(totalTargetBytes) * kInstallRangeFactor;
  overallMax_ = static_cast<float>(maximum);
  overallValue_ = static_cast<float>(maximum * kInstallStartShare);
  itemMax_ = kIdleItemMaximum;
  itemValue_ = 0;
  ShowBars();
  ProcessMessages();
}

void InstallProgress::ShowActivity(std::string_view text) {
  if (!view_) return;
  view_->ShowActivity(text);
  view_->ProcessMessages();
}

void InstallProgress::FinishDatabase(float startPosition, int64_t targetSize) {
  overallValue_ = startPosition + static_cast<float>(targetSize);
  itemValue_ = itemMax_;
  ShowBars();
  ProcessMessages();
}

void InstallProgress::ResourceStarted(int64_t size) {
  itemMax_ = static_cast<float>(size);
  itemValue_ = 0;
  itemStart_ = static_cast<int64_t>(overallValue_);
  if (!view_) return;
  view_->ShowItem(itemMax_, itemValue_);
  view_->ProcessMessages();
}

void InstallProgress::ResourceAdvanced(int64_t copied) {
  itemValue_ = static_cast<float>(copied);
  overallValue_ = static_cast<float>(copied + itemStart_);
  ShowBars();
  ProcessMessages();
}

void InstallProgress::ArchiveStarted() {
  itemMax_ = 1;
  itemValue_ = 0;
  itemStart_ = static_cast<int64_t>(overallValue_);
  if (view_) view_->ShowItem(itemMax_, itemValue_);
}

void InstallProgress::ArchiveAdvanced(const ArchiveProgress& archive) {
  itemValue_ = static_cast<float>(ArchiveFraction(archive));
  overallValue_ = static_cast<float>(static_cast<double>(archive.TotalSize()) * itemValue_ +
                                     static_cast<double>(itemStart_));
  ShowBars();
  ProcessMessages();
}

// An archive of empty files has no byte fraction; its bar then moves by items alone.
double InstallProgress::ArchiveFraction(const ArchiveProgress& archive) {
  const int32_t count = archive.ItemCount();
  const double items = count > 0 ? static_cast<double>(archive.CurrentItem()) / count : 0.0;
  if (archive.TotalSize() <= 0) return items;
  return items * kItemShare +
         static_cast<double>(archive.BytesDone()) / archive.TotalSize() * kByteShare;
}

}  // namespace dbinst
