// Draws the stored windows as their layouts hold them, without the program behind them: each page
// of the main window and both forms of the message window, into PNG files.
//   layout-snapshots FORMS_DIR OUT_DIR     (FORMS_DIR holds the compiled NAME.bin forms)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ui/Automation.h"
#include "ui/FormStreamReader.h"
#include "ui/TvgControls.h"
#include "ui/TvgForm.h"
#include "ui/TvgShapes.h"
#include "ui/TvgTabControl.h"

namespace fs = std::filesystem;

namespace dbinst {
namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A window built from a stored layout whose events lead nowhere: a preview of the layout alone.
class TLayoutPreview : public TvgForm {
 public:
  explicit TLayoutPreview(const std::string& stream) {
    BindEventsOf(ReadFormStream(stream));
    LoadLayout(stream);
    Scene().SetSize(static_cast<float>(ClientWidth()), static_cast<float>(ClientHeight()));
  }

  void Write(const fs::path& file) {
    std::string error;
    if (!WriteSnapshot(*this, file.string(), error)) throw std::runtime_error(error);
    std::printf("%s\n", file.string().c_str());
  }

 private:
  void BindEventsOf(const TFormObject& object) {
    for (const TFormProperty& property : object.properties) {
      if (property.name.rfind("On", 0) != 0) continue;
      const std::string handler = property.value.Text();
      if (property.name == "OnTimer") {
        Bind(handler, std::function<void(TTimer&)>([](TTimer&) {}));
      } else if (property.name == "OnCloseQuery") {
        Bind(handler, std::function<void(bool&)>([](bool&) {}));
      } else {
        Bind(handler, TNotifyEvent([](TvgObject&) {}));
      }
    }
    for (const TFormObject& child : object.children) BindEventsOf(child);
  }
};

void SnapshotMainWindow(const fs::path& forms, const fs::path& out) {
  TLayoutPreview window(ReadFile(forms / "TFORMMAINDBINSTALL.bin"));
  auto& tabs = window.Object<TvgTabControl>("TabControlMain");
  int page = 1;
  for (TvgTabItem* item : tabs.Items()) {
    tabs.SetSelected(item);
    window.Write(out / ("layout-main-0" + std::to_string(page++) + "-" + item->Name() + ".png"));
  }
}

// The two forms of the message window: a question with Yes and No, a notice with OK.
void SnapshotMessageWindow(const fs::path& forms, const fs::path& out) {
  for (const bool question : {true, false}) {
    TLayoutPreview window(ReadFile(forms / "TFORMMESSAGE.bin"));
    const auto& specimen =
        window.Object<TvgImage>(question ? "ImageSpecimenQuestion" : "ImageSpecimenWarning");
    window.Object<TvgImage>("ImageIllustration").SetPicture(specimen.Picture());
    window.Object<TvgButton>("ButtonOk").SetVisible(!question);
    window.Object<TvgButton>("ButtonYes").SetVisible(question);
    window.Object<TvgButton>("ButtonNo").SetVisible(question);
    window.Write(out / (question ? "layout-message-question.png" : "layout-message-notice.png"));
  }
}

}  // namespace
}  // namespace dbinst

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: layout-snapshots FORMS_DIR OUT_DIR\n");
    return 2;
  }
  // Drawn in memory: no window opens.
  setenv("DBINST_HEADLESS", "1", 1);
  try {
    fs::create_directories(argv[2]);
    dbinst::SnapshotMainWindow(argv[1], argv[2]);
    dbinst::SnapshotMessageWindow(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "layout-snapshots: %s\n", error.what());
    return 1;
  }
  return 0;
}
