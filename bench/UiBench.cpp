// Laying out and drawing one frame of the main window's stored form, at 100 % and 200 %.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "ui/FormLoader.h"
#include "ui/TvgForm.h"
#include "ui/TvgScene.h"
#include "ui/TvgShapes.h"

namespace dbinst {
namespace {

constexpr float kWidth = 559;
constexpr float kHeight = 426;

// The main window built from its stored form with do-nothing handlers.
std::unique_ptr<TvgForm> StoredMainWindow() {
  std::ifstream file(DBINST_MAIN_FORM, std::ios::binary);
  if (!file) throw std::runtime_error("the build has no stored main window " DBINST_MAIN_FORM);
  std::stringstream bytes;
  bytes << file.rdbuf();
  auto form = std::make_unique<TvgForm>();
  for (const char* name :
       {"FormActivate", "ButtonExitClick", "ButtonMkayClick", "TreeViewPathsClick",
        "TreeViewPathsChangeCheck", "ButtonChoosePathChooseManuallyBrowseClick",
        "RadioButtonChoosePathChange"}) {
    form->Bind(name, TNotifyEvent([](TvgObject&) {}));
  }
  form->Bind("TimerCheckRunningStuffTimer", std::function<void(TTimer&)>([](TTimer&) {}));
  form->Bind("FormCloseQuery", std::function<void(bool&)>([](bool&) {}));
  form->LoadLayout(bytes.str());
  return form;
}

class TMainWindow {
 public:
  TMainWindow() : form_(StoredMainWindow()) {
    Scene().SetSize(kWidth, kHeight);
    Scene().Layout();
  }
  TvgScene& Scene() { return form_->Scene(); }

 private:
  std::unique_ptr<TvgForm> form_;
};

void BM_LayoutMainWindow(benchmark::State& state) {
  TMainWindow window;
  for (auto _ : state) {
    window.Scene().Realign();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LayoutMainWindow);

void BM_PaintMainWindow(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100;
  TMainWindow window;
  cairo_surface_t* surface = cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth * scale), static_cast<int>(kHeight * scale));
  cairo_t* cr = cairo_create(surface);
  for (auto _ : state) {
    window.Scene().Paint(cr, scale);
    cairo_surface_flush(surface);
  }
  if (const char* snapshot = std::getenv("DBINST_UI_BENCH_SNAPSHOT")) {
    cairo_surface_write_to_png(surface,
                               (snapshot + std::to_string(state.range(0)) + ".png").c_str());
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_PaintMainWindow)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dbinst
