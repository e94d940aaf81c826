#include <vector>

#include "env/MessagePump.h"
#include "payload/MyFileOp.h"
#include "payload/ResourceFile.h"
#include "payload/SevenZipReader.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Resources.h"

namespace dbinst {
namespace {

constexpr int64_t kResourceChunkSize = 32768;
// Every 60th chunk goes without a bar update and message pass.
constexpr int64_t kChunksWithoutUpdate = 60;

// A resource read as a file, so that the archive layer can list an archive without copying it.
class ResourceAsFile : public ReadableFile {
 public:
  explicit ResourceAsFile(std::unique_ptr<ResourceStream> stream) : stream_(std::move(stream)) {}
  int64_t Read(void* buffer, int64_t size) override { return stream_->Read(buffer, size); }
  int64_t Size() const override { return stream_->Size(); }
  bool Seek(int64_t offset) override { return stream_->Seek(offset); }

 private:
  std::unique_ptr<ResourceStream> stream_;
};

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace

bool MyFileOp::ExtractResourceToFile(const ResourceModule* module, std::string_view resourceName,
                                     std::string_view destinationPath,
                                     const ResourceCopyHooks* hooks) {
  const ResourceModule& source = module != nullptr ? *module : machine_.resources();
  auto resource = OpenResource(source, resourceName);
  if (!resource || resource->Size() <= 0) return false;
  if (!PrepareResourceDestination(destinationPath)) return false;
  auto file = machine_.files().CreateForWrite(destinationPath);
  if (!file) return false;
  bool copied = CopyResourceChunks(*resource, *file, hooks);
  if (!file->Close()) copied = false;
  if (!copied) machine_.files().DeleteFile(destinationPath);
  return copied;
}

bool MyFileOp::PrepareResourceDestination(std::string_view destinationPath) {
  FileSystem& files = machine_.files();
  if (files.FileExists(destinationPath)) {
    files.SetReadOnly(destinationPath, false);
    files.DeleteFile(destinationPath);
    return !files.FileExists(destinationPath);
  }
  const std::string folder = FolderOf(destinationPath);
  return folder.empty() || files.FolderExists(folder) || files.CreateFolders(folder);
}

// False on a read error, a short write, or a resource shorter than its stated size.
bool MyFileOp::CopyResourceChunks(ResourceStream& resource, WritableFile& file,
                                  const ResourceCopyHooks* hooks) {
  const bool reports = hooks && hooks->advanced;
  if (hooks && hooks->started) hooks->started(resource.Size());
  std::vector<char> buffer(kResourceChunkSize);
  int64_t copied = 0;
  for (int64_t chunk = 1;; ++chunk) {
    if (hooks && hooks->cancelled && hooks->cancelled()) return false;
    const int64_t read = resource.Read(buffer.data(), kResourceChunkSize);
    if (read < 0) return false;
    if (read == 0) break;
    if (file.Write(buffer.data(), read) != read) return false;
    copied += read;
    if (reports && chunk % kChunksWithoutUpdate != 0) hooks->advanced(copied);
  }
  if (reports) hooks->advanced(copied);
  return copied == resource.Size();
}

bool MyFileOp::ListResourceArchive(std::string_view resourceName, std::vector<ArchiveItem>& items,
                                   std::string& error) {
  auto stream = OpenResource(machine_.resources(), resourceName);
  if (!stream) {
    error = "The installer carries no resource " + std::string(resourceName);
    return false;
  }
  ResourceAsFile archive(std::move(stream));
  auto reader = SevenZipReader::Create(machine_.libraries(), archive, error);
  if (!reader) return false;
  reader->SetPassword(kArchivePassword);
  if (!reader->List(error)) return false;
  items = reader->Items();
  return true;
}

bool MyFileOp::ExtractArchive(std::string_view archivePath, std::string_view destinationFolder,
                              const ArchiveProgressHooks* hooks) {
  lastArchiveError_.clear();
  lastArchiveFailure_ = EArchiveFailure::None;
  lastArchiveItems_.clear();
  if (!machine_.files().FileExists(archivePath)) {
    lastArchiveError_ = "The archive " + std::string(archivePath) + " does not exist";
    lastArchiveFailure_ = EArchiveFailure::Damaged;
    return false;
  }
  auto archive = machine_.files().OpenForRead(archivePath);
  if (!archive) {
    lastArchiveError_ = "The archive " + std::string(archivePath) + " cannot be opened";
    lastArchiveFailure_ = EArchiveFailure::Damaged;
    return false;
  }
  const bool extracted = ExtractOpenedArchive(*archive, destinationFolder, hooks);
  archive.reset();
  ProcessMessages();
  archiveProgress_.Clear();
  return extracted;
}

bool MyFileOp::ExtractOpenedArchive(ReadableFile& archive, std::string_view destinationFolder,
                                    const ArchiveProgressHooks* hooks) {
  auto reader = SevenZipReader::Create(machine_.libraries(), archive, lastArchiveError_);
  if (!reader) {
    lastArchiveFailure_ = EArchiveFailure::Damaged;
    return false;
  }
  ProcessMessages();
  reader->SetPassword(kArchivePassword);
  if (!reader->List(lastArchiveError_)) {
    lastArchiveFailure_ = reader->Failure();
    return false;
  }
  ProcessMessages();
  lastArchiveItems_ = reader->Items();

  int64_t totalSize = 0;
  for (const ArchiveItem& item : reader->Items()) totalSize += static_cast<int64_t>(item.size);
  archiveProgress_.Begin(hooks, static_cast<int32_t>(reader->Items().size()), totalSize);
  ArchiveHooks itemHooks;
  itemHooks.beforeItem = [this](uint32_t index, const std::string& destinationPath) {
    return BeforeArchiveItem(index, destinationPath);
  };
  itemHooks.progress = [this](uint64_t bytesDone, uint64_t) {
    archiveProgress_.OnBytes(static_cast<int64_t>(bytesDone));
  };
  if (hooks && hooks->cancelled) itemHooks.cancelled = hooks->cancelled;
  const bool extracted =
      reader->ExtractAll(machine_.files(), destinationFolder, itemHooks, lastArchiveError_);
  lastArchiveFailure_ = reader->Failure();
  return extracted;
}

// A file that cannot make way for the new one keeps its place; the others are still written.
bool MyFileOp::BeforeArchiveItem(uint32_t index, const std::string& destinationPath) {
  archiveProgress_.OnItem(static_cast<int32_t>(index));
  FileSystem& files = machine_.files();
  if (!files.FileExists(destinationPath)) return true;
  return files.DeleteFile(destinationPath) && !files.FileExists(destinationPath);
}

}  // namespace dbinst
