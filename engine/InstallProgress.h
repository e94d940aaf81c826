#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "payload/ArchiveProgress.h"

namespace dbinst {

class ProgressView;

// The state of an installation's progress and all its arithmetic: where the two bars stand,
// computed from what the copy and the extraction report, and shown on the view at the points
// where the installation lets the program live. Without a view nothing is shown or pumped.
class InstallProgress {
 public:
  // cancelled, when given, is asked by the copy and the extraction at those points.
  explicit InstallProgress(ProgressView* view, std::function<bool()> cancelled = {});
  InstallProgress(const InstallProgress&) = delete;
  InstallProgress& operator=(const InstallProgress&) = delete;

  // Copying the archives out of the installer fills the first 40 % of the overall bar.
  void StartCopying(int64_t totalArchiveBytes);
  // Unpacking fills the other 60 %, by the unpacked sizes of the databases.
  void StartInstalling(int64_t totalTargetBytes);
  void ShowActivity(std::string_view text);
  // The overall bar moves on to where the database's whole size puts it; the item bar is full.
  void FinishDatabase(float startPosition, int64_t targetSize);
  void ProcessMessages();

  // Null with neither a view nor a cancel question, so that the file layer reports nothing.
  const ResourceCopyHooks* ResourceHooks() const { return Hooked() ? &resourceHooks_ : nullptr; }
  const ArchiveProgressHooks* ArchiveHooks() const { return Hooked() ? &archiveHooks_ : nullptr; }

  float OverallMaximum() const { return overallMax_; }
  float OverallPosition() const { return overallValue_; }
  float ItemMaximum() const { return itemMax_; }
  float ItemPosition() const { return itemValue_; }

  // Where an archive of that many items and bytes stands, from 0 to 1.
  static double ArchiveFraction(const ArchiveProgress& archive);

 private:
  bool Hooked() const { return view_ || cancelled_; }
  void ShowBars();
  void ResourceStarted(int64_t size);
  void ResourceAdvanced(int64_t copied);
  void ArchiveStarted();
  void ArchiveAdvanced(const ArchiveProgress& archive);

  ProgressView* view_;
  std::function<bool()> cancelled_;
  float overallMax_ = 100;
  float overallValue_ = 0;
  float itemMax_ = 100;
  float itemValue_ = 0;
  // The overall position an archive or resource started from, whole units as the bars count.
  int64_t itemStart_ = 0;
  ResourceCopyHooks resourceHooks_;
  ArchiveProgressHooks archiveHooks_;
};

}  // namespace dbinst
