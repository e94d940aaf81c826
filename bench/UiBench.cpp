// Laying out and drawing one frame of the main window's stored form, at 100 % and 200 %. Without a
// stored form in the build, a scene of the same kinds, nesting, sizes and effects built here.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "ui/FormLoader.h"
#include "ui/FormText.h"
#include "ui/TPicture.h"
#include "ui/TvgForm.h"
#include "ui/TvgScene.h"
#include "ui/TvgShapes.h"

namespace dbinst {
namespace {

constexpr float kWidth = 559;
constexpr float kHeight = 426;

constexpr std::string_view kMainWindow = R"(object vgSceneMainAndOnly: TvgScene
  object Root1: TvgBackground
    Align = vaClient
    object BackgroundTop: TvgBackground
      Align = vaTop
      Height = 27
      StyleLookup = 'backgroundmover'
      object TextWindowTitle: TvgText
        Position.X = 16
        Width = 410
        Height = 19
        Text = 'Instalator baz danych'
        Font.Size = 12
        Font.Style = [vgFontBold]
        HorzTextAlign = vgTextAlignNear
      end
    end
    object Image6: TvgImage
      Align = vaTop
      Height = 56
      WrapMode = vgImageStretch
    end
    object BackgroundBottom: TvgBackground
      Align = vaBottom
      Height = 50
      StyleLookup = 'backgroundbottombar'
      object ButtonExit: TvgButton
        Position.X = 12
        Position.Y = 16
        Width = 112
        Height = 23
        Text = 'Zakończ'
        Font.Size = 12
        Font.Style = [vgFontBold]
        DisableFocusEffect = True
      end
      object ButtonMkay: TvgButton
        Position.X = 432
        Position.Y = 16
        Width = 112
        Height = 23
        Text = 'Dalej >'
        Font.Size = 12
        Font.Style = [vgFontBold]
        Default = True
        DisableFocusEffect = True
      end
    end
    object TabControlMain: TvgTabControl
      Align = vaClient
      StyleLookup = 'tabcontrolbrightstyle'
      Padding.Top = -3
      Padding.Bottom = -1
      TabIndex = 0
      object TabItem01: TvgTabItem
        Layout = 'Layout6'
        Height = 2
        Opacity = 0.01
      end
      object Layout6: TvgLayout
        ClipChildren = True
        object GroupBoxInstallDbs: TvgGroupBox
          Align = vaClient
          Padding.Left = 6
          Padding.Top = 6
          Padding.Right = 6
          Padding.Bottom = 6
          StyleLookup = 'cpgroupbox'
          Text = 'Instalacja baz danych'
          Font.Size = 12
          Font.Style = [vgFontBold]
          object Layout7: TvgLayout
            Align = vaClient
            Padding.Left = 16
            Padding.Top = 32
            Padding.Right = 16
            Padding.Bottom = 16
            object Image4: TvgImage
              Align = vaLeft
              Width = 168
              Padding.Right = 12
              WrapMode = vgImageStretch
              object ShadowEffect1: TvgShadowEffect
                Distance = 2
                Direction = 45
                Softness = 0.3
                Opacity = 0.4
              end
            end
            object Layout12: TvgLayout
              Align = vaClient
              object TextInstallMainActivity: TvgText
                Align = vaTop
                Height = 20
                Padding.Top = 28
                Text = 'Kopiowanie bazy płytek ceramicznych'
                Font.Size = 12
                HorzTextAlign = vgTextAlignNear
              end
              object ProgressBarInstallMainProcess: TvgProgressBar
                Align = vaTop
                Height = 12
                Padding.Left = 12
                Padding.Top = 6
                Padding.Right = 12
                Value = 40
                object ShadowEffect2: TvgShadowEffect
                  Distance = 2
                  Direction = 45
                  Softness = 0.3
                  Opacity = 0.4
                end
              end
              object TextInstallSubActivity: TvgText
                Align = vaTop
                Height = 20
                Padding.Top = 18
                Text = 'Obliczanie docelowego rozmiaru baz'
                Font.Size = 12
                HorzTextAlign = vgTextAlignNear
              end
              object ProgressBarInstallSubProcess: TvgProgressBar
                Align = vaTop
                Height = 12
                Padding.Left = 12
                Padding.Top = 6
                Padding.Right = 12
                Value = 75
                object ShadowEffect3: TvgShadowEffect
                  Distance = 2
                  Direction = 45
                  Softness = 0.3
                  Opacity = 0.4
                end
              end
              object Layout13: TvgLayout
                Align = vaTop
                Height = 62
                Padding.Top = 24
                object Layout14: TvgLayout
                  Align = vaLeft
                  Width = 55
                  Padding.Left = 24
                  object Image5: TvgImage
                    Align = vaClient
                    WrapMode = vgImageFit
                    object ReflectionEffect1: TvgReflectionEffect
                      Opacity = 0.6
                      Offset = -30
                      Length = 0.6
                    end
                  end
                end
                object TextInstallDiskSpaceInfo: TvgText
                  Align = vaClient
                  Padding.Left = 8
                  Padding.Right = 24
                  Text = 'Wolne miejsce na dysku C: 120,5 GB'
                  Font.Size = 12
                  HorzTextAlign = vgTextAlignNear
                end
              end
            end
          end
        end
      end
    end
  end
end
)";

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// A soft two-colour picture of the given size, as a decoded PNG.
std::shared_ptr<const TPicture> GradientPicture(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, height);
  cairo_pattern_add_color_stop_rgb(gradient, 0, 0.85, 0.88, 0.92);
  cairo_pattern_add_color_stop_rgb(gradient, 1, 0.35, 0.5, 0.7);
  cairo_set_source(cr, gradient);
  cairo_paint(cr);
  cairo_pattern_destroy(gradient);
  cairo_destroy(cr);
  std::string png;
  cairo_surface_write_to_png_stream(surface, Append, &png);
  cairo_surface_destroy(surface);
  return TPicture::Decode(png);
}

std::unique_ptr<TvgScene> CodeBuiltScene() {
  static const std::map<std::string, TNotifyEvent> kNoHandlers;
  TFormLoadContext context(kNoHandlers);
  std::unique_ptr<TvgObject> loaded = LoadSceneObject(ParseFormText(kMainWindow), context);
  std::unique_ptr<TvgScene> scene(static_cast<TvgScene*>(loaded.release()));
  dynamic_cast<TvgImage&>(*scene->Find("Image6")).SetPicture(GradientPicture(1737, 174));
  dynamic_cast<TvgImage&>(*scene->Find("Image4")).SetPicture(GradientPicture(250, 341));
  dynamic_cast<TvgImage&>(*scene->Find("Image5")).SetPicture(GradientPicture(48, 48));
  return scene;
}

// The main window built from its stored form with do-nothing handlers; null without the form.
std::unique_ptr<TvgForm> StoredMainWindow() {
  std::ifstream file(DBINST_MAIN_FORM, std::ios::binary);
  if (!file) return nullptr;
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
  try {
    form->LoadLayout(bytes.str());
  } catch (const std::exception& error) {
    std::cerr << "the stored main window does not load: " << error.what() << "\n";
    return nullptr;
  }
  return form;
}

// The stored window when the build has it, else the scene built here; the label says which.
class TMainWindow {
 public:
  TMainWindow() : form_(StoredMainWindow()) {
    if (!form_) built_ = CodeBuiltScene();
    Scene().SetSize(kWidth, kHeight);
    Scene().Layout();
  }
  TvgScene& Scene() { return form_ ? form_->Scene() : *built_; }
  const char* Label() const { return form_ ? "stored form" : "scene built in code"; }

 private:
  std::unique_ptr<TvgForm> form_;
  std::unique_ptr<TvgScene> built_;
};

void BM_LayoutMainWindow(benchmark::State& state) {
  TMainWindow window;
  state.SetLabel(window.Label());
  for (auto _ : state) {
    window.Scene().Realign();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LayoutMainWindow);

void BM_PaintMainWindow(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100;
  TMainWindow window;
  state.SetLabel(window.Label());
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
