#include "payload/SevenZipReader.h"

#include "payload/SevenZipCallbacks.h"
#include "payload/SevenZipLibrary.h"
#include "payload/SevenZipStreams.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace dbinst {

using namespace sevenzip;

namespace {

// How far 7-Zip looks for a signature; it is the value 7-Zip's own programs pass.
constexpr uint64_t kMaxCheckStartPosition = 1 << 22;

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "; ") + line;
  return joined;
}

}  // namespace

struct SevenZipReader::State {
  const SevenZipLibrary& library;
  ComPtr<IInArchive> handler;
  ReadableFile& file;
  std::string password;
  std::vector<ArchiveItem> items;
  bool opened = false;
  // The headers were encrypted and opened: the password is right.
  bool passwordProven = false;
  EArchiveFailure failure = EArchiveFailure::None;

  DBINST_CALLS_INTO_7ZIP ~State() {
    if (opened) handler->Close();
  }

  DBINST_CALLS_INTO_7ZIP bool ReadItem(uint32_t index, ArchiveItem& item,
                                       std::string& error) const {
    PROPVARIANT value{};
    if (handler->GetProperty(index, kpidPath, &value) != S_OK) {
      error = "The item list cannot be read (item " + std::to_string(index) + ")";
      return false;
    }
    if (value.vt == VT_BSTR) item.path = WideUnitsToUtf8(value.bstrVal);
    library.Clear(value);
    if (handler->GetProperty(index, kpidSize, &value) == S_OK && value.vt == VT_UI8) {
      item.size = value.uhVal;
    }
    library.Clear(value);
    if (handler->GetProperty(index, kpidIsDir, &value) == S_OK && value.vt == VT_BOOL) {
      item.isFolder = value.boolVal != 0;
    }
    library.Clear(value);
    return true;
  }
};

std::unique_ptr<SevenZipReader> SevenZipReader::Create(DynamicLibraries& libraries,
                                                       ReadableFile& file, std::string& error) {
  SevenZipLibrary* library = SevenZipLibrary::Shared(libraries, error);
  if (library == nullptr) return nullptr;
  auto state = std::unique_ptr<State>(
      new State{*library, ComPtr<IInArchive>(library->New7zHandler()), file, {}, {}, false});
  if (!state->handler) {
    error = "The 7-Zip library made no 7z archive handler";
    return nullptr;
  }
  return std::unique_ptr<SevenZipReader>(new SevenZipReader(std::move(state)));
}

SevenZipReader::SevenZipReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

SevenZipReader::~SevenZipReader() = default;

void SevenZipReader::SetPassword(std::string_view password) { state_->password = password; }

const std::vector<ArchiveItem>& SevenZipReader::Items() const { return state_->items; }

DBINST_CALLS_INTO_7ZIP bool SevenZipReader::List(std::string& error) {
  State& state = *state_;
  if (!state.file.Seek(0)) {
    error = "The archive file cannot be read";
    return false;
  }
  ComPtr<IInStream> stream(new FileInStream(state.file));
  auto* open = new OpenCallback(state.library, state.password);
  ComPtr<IArchiveOpenCallback> callback(open);
  const HRESULT opened = state.handler->Open(stream.get(), &kMaxCheckStartPosition, callback.get());
  if (opened != S_OK) {
    state.failure =
        open->PasswordAsked() ? EArchiveFailure::WrongPassword : EArchiveFailure::Damaged;
    error = opened == S_FALSE
                ? "Not a readable 7z archive: truncated, damaged, or its headers need another "
                  "password"
                : "The 7z archive cannot be opened: error " + HresultText(opened);
    return false;
  }
  state.opened = true;
  state.passwordProven = open->PasswordAsked();
  uint32_t count = 0;
  if (state.handler->GetNumberOfItems(&count) != S_OK) {
    state.failure = EArchiveFailure::Damaged;
    error = "The item count cannot be read";
    return false;
  }
  state.items.assign(count, ArchiveItem{});
  for (uint32_t i = 0; i < count; ++i) {
    if (!state.ReadItem(i, state.items[i], error)) {
      state.failure = EArchiveFailure::Damaged;
      return false;
    }
  }
  return true;
}

DBINST_CALLS_INTO_7ZIP bool SevenZipReader::ExtractAll(FileSystem& files,
                                                       std::string_view destinationFolder,
                                                       const ArchiveHooks& hooks,
                                                       std::string& error) {
  State& state = *state_;
  if (!state.opened) {
    error = "The archive was not listed before extraction";
    return false;
  }
  const ExtractTarget target{files, WithTrailingBackslash(destinationFolder), state.items, hooks};
  auto* callback = new ExtractCallback(state.library, state.password, target);
  ComPtr<IArchiveExtractCallback> owner(callback);
  if (state.passwordProven) callback->PasswordProvenByHeaders();
  const HRESULT result = state.handler->Extract(nullptr, UINT32_MAX, 0, callback);
  callback->FinishInterruptedItem();
  if (result != S_OK) callback->LibraryStopped(result);
  state.failure = callback->Failure();
  error = JoinLines(callback->Problems());
  return callback->Problems().empty();
}

EArchiveFailure SevenZipReader::Failure() const { return state_->failure; }

}  // namespace dbinst
