#include "ui/FormLoader.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/ui/SceneForms.h"
#include "ui/FormStreamReader.h"
#include "ui/FormText.h"
#include "ui/TPicture.h"
#include "ui/TvgControls.h"
#include "ui/TvgEffects.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgResources.h"
#include "ui/TvgShapes.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

using test::Get;
using test::LoadScene;
using test::LoadText;

std::string PngHex(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  std::string bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  std::string hex;
  for (unsigned char byte : bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

// Every kind with the properties the stored layouts give it.
std::string EveryKind() {
  return R"(object vgSceneMainAndOnly: TvgScene
  Width = 472
  Height = 200
  ActiveControl = ButtonOk
  object Root1: TvgBackground
    Align = vaClient
    StyleLookup = 'backgroundmover'
    HitTest = False
    Opacity = 0.5
    object TextMessage: TvgText
      Align = vaClient
      Text = 'Zażółć'
      Font.Family = 'Microsoft Sans Serif'
      Font.Size = 12
      Font.Style = [vgFontBold, vgFontItalic]
      Fill.Color = '#FFC04040'
      HorzTextAlign = vgTextAlignNear
      VertTextAlign = vgTextAlignFar
      WordWrap = False
    end
    object RectangleMain: TvgRectangle
      Fill.Color = '#FFF8F8F8'
      Fill.Kind = vgBrushGradient
      Fill.Gradient.Points = <
        item
          Color = '#FFF8F8F8'
        end
        item
          Color = '#FFECECEC'
          Offset = 0.1068965
        end
        item
          Color = '#FFE0E0E0'
          Offset = 1
        end>
      Stroke.Color = '#FF000000'
      CornerRadius = 4
      object ImageIllustration: TvgImage
        WrapMode = vgImageStretch
        Bitmap.Picture = {)" +
         PngHex(3, 2) + R"(}
        object Shadow: TvgShadowEffect
          Distance = 2
          Direction = 45
          Softness = 0.3
          Opacity = 0.4
          ShadowColor = '#FF000000'
        end
        object Reflection: TvgReflectionEffect
          Opacity = 0.6
          Offset = -30
          Length = 0.6
        end
      end
    end
    object ButtonOk: TvgButton
      Position.X = 146
      Position.Y = 14
      Width = 181
      Height = 26
      Text = 'OK'
      Font.Style = [vgFontBold]
      Default = True
      DisableFocusEffect = True
      OnClick = ButtonOkClick
    end
    object Radio: TvgRadioButton
      Text = 'Katalog'
      IsChecked = True
      GroupName = 'paths'
      OnChange = RadioChange
    end
    object GroupBoxWelcome: TvgGroupBox
      Text = 'Witamy'
      Font.Size = 12
      Enabled = False
      Visible = False
      ClipChildren = True
      Margins.Top = 20
    end
    object TreeViewPaths: TvgTreeView
      ShowCheckboxes = True
      AutoExpand = False
      OnClick = TreeClick
      OnChangeCheck = TreeCheck
      object Item: TvgTreeViewItem
        Text = 'Orvane'
        IsChecked = True
      end
    end
    object Bar: TvgProgressBar
      Min = 0
      Max = 2.5
      Value = 3.75
      Orientation = vgVertical
    end
    object Tabs: TvgTabControl
      TabIndex = 0
      object Tab: TvgTabItem
        Text = 'One'
        Layout = Page
      end
      object Page: TvgLayout
      end
    end
  end
end)";
}

std::map<std::string, TNotifyEvent> Handlers(std::vector<std::string>& calls) {
  std::map<std::string, TNotifyEvent> handlers;
  for (const char* name : {"ButtonOkClick", "RadioChange", "TreeClick", "TreeCheck"}) {
    handlers[name] = [&calls, name](TvgObject& sender) {
      calls.push_back(std::string(name) + ":" + sender.Name());
    };
  }
  return handlers;
}

TEST(FormLoaderTest, EveryKindLoadsWithItsProperties) {
  std::vector<std::string> calls;
  auto scene = LoadScene(EveryKind(), Handlers(calls));
  EXPECT_EQ(scene->ActiveControl(), scene->Find("ButtonOk"));

  auto& root = Get<TvgBackground>(*scene, "Root1");
  EXPECT_EQ(root.StyleLookup(), "backgroundmover");
  EXPECT_FALSE(root.HitTest());
  EXPECT_FLOAT_EQ(root.Opacity(), 0.5f);

  auto& text = Get<TvgText>(*scene, "TextMessage");
  EXPECT_EQ(text.Text(), "Zażółć");
  EXPECT_FLOAT_EQ(text.Font().size, 12);
  EXPECT_TRUE(text.TextBold());
  EXPECT_TRUE(text.Font().italic);
  EXPECT_EQ(text.TextColor(), kColorWarningRed);
  EXPECT_EQ(text.HorzTextAlign(), ETextAlign::Near);
  EXPECT_EQ(text.VertTextAlign(), ETextAlign::Far);
  EXPECT_FALSE(text.WordWrap());

  auto& rectangle = Get<TvgRectangle>(*scene, "RectangleMain");
  EXPECT_EQ(rectangle.FillKind(), EBrushKind::Gradient);
  ASSERT_EQ(rectangle.GradientStops().size(), 3u);
  EXPECT_EQ(rectangle.GradientStops()[1].color, 0xFFECECECu);
  EXPECT_NEAR(rectangle.GradientStops()[1].offset, 0.1068965, 1e-6);
  EXPECT_FLOAT_EQ(rectangle.GradientStops()[0].offset, 0);
  EXPECT_EQ(rectangle.StrokeColor(), kColorBlack);
  EXPECT_FLOAT_EQ(rectangle.CornerRadius(), 4);

  auto& image = Get<TvgImage>(*scene, "ImageIllustration");
  ASSERT_TRUE(image.Picture());
  EXPECT_EQ(image.Picture()->Width(), 3);
  EXPECT_EQ(image.WrapMode(), EImageWrap::Stretch);
  auto& shadow = Get<TvgShadowEffect>(*scene, "Shadow");
  EXPECT_FLOAT_EQ(shadow.ShadowOpacity(), 0.4f);
  EXPECT_FLOAT_EQ(shadow.Opacity(), 1);  // the effect's own opacity, not the object's
  EXPECT_FLOAT_EQ(shadow.Distance(), 2);
  EXPECT_EQ(shadow.Parent(), &image);
  EXPECT_FLOAT_EQ(Get<TvgReflectionEffect>(*scene, "Reflection").Offset(), -30);

  auto& button = Get<TvgButton>(*scene, "ButtonOk");
  EXPECT_TRUE(button.IsDefault());
  EXPECT_FALSE(button.ShowsFocusEffect());
  EXPECT_TRUE(button.TextBold());
  EXPECT_FLOAT_EQ(button.SceneRect().left, 146);

  auto& radio = Get<TvgRadioButton>(*scene, "Radio");
  EXPECT_TRUE(radio.IsChecked());
  EXPECT_EQ(radio.GroupName(), "paths");

  auto& group = Get<TvgGroupBox>(*scene, "GroupBoxWelcome");
  EXPECT_EQ(group.Text(), "Witamy");
  EXPECT_FALSE(group.Enabled());
  EXPECT_FALSE(group.Visible());
  EXPECT_TRUE(group.ClipChildren());
  EXPECT_FLOAT_EQ(group.Margins().top, 20);

  auto& tree = Get<TvgTreeView>(*scene, "TreeViewPaths");
  EXPECT_TRUE(tree.ShowCheckboxes());
  ASSERT_EQ(tree.Items().size(), 1u);
  EXPECT_TRUE(tree.Items()[0]->IsChecked());

  auto& bar = Get<TvgProgressBar>(*scene, "Bar");
  EXPECT_FLOAT_EQ(bar.Max(), 2.5f);
  EXPECT_FLOAT_EQ(bar.Value(), 3.75f);  // kept as set; drawing clamps
  EXPECT_EQ(bar.Orientation(), EOrientation::Vertical);

  EXPECT_EQ(Get<TvgTabControl>(*scene, "Tabs").Selected(), scene->Find("Tab"));
  EXPECT_TRUE(calls.empty());
}

TEST(FormLoaderTest, HandlersAreWiredByTheirNames) {
  std::vector<std::string> calls;
  auto scene = LoadScene(EveryKind(), Handlers(calls));
  scene->KeyDown(EKey::Enter);
  Get<TvgRadioButton>(*scene, "Radio").SetIsChecked(false);
  auto& tree = Get<TvgTreeView>(*scene, "TreeViewPaths");
  tree.Items()[0]->SetIsChecked(false);
  RaiseEvent(tree.OnClick, tree);
  EXPECT_EQ(calls, (std::vector<std::string>{"ButtonOkClick:ButtonOk", "RadioChange:Radio",
                                             "TreeCheck:Item", "TreeClick:TreeViewPaths"}));
}

TEST(FormLoaderTest, CreatesEveryKindByItsClassNameAndNothingElse) {
  for (const char* kind : {"TvgScene", "TvgLayout", "TvgBackground", "TvgRectangle", "TvgImage",
                           "TvgText", "TvgProgressBar", "TvgButton", "TvgRadioButton",
                           "TvgGroupBox", "TvgTreeView", "TvgTreeViewItem", "TvgTabControl",
                           "TvgTabItem", "TvgShadowEffect", "TvgReflectionEffect"}) {
    const std::unique_ptr<TvgObject> object = CreateSceneObject(kind);
    ASSERT_TRUE(object) << kind;
    EXPECT_EQ(object->ClassName(), kind);
  }
  EXPECT_FALSE(CreateSceneObject("TvgMemo"));
  EXPECT_FALSE(CreateSceneObject(""));
  EXPECT_FALSE(CreateSceneObject("TTimer"));
}

TEST(FormLoaderTest, HitTestDefaultsLetTextsAndLayoutsPassPressesThrough) {
  for (const char* kind : {"TvgLayout", "TvgText", "TvgImage", "TvgShadowEffect", "TvgScene"}) {
    EXPECT_FALSE(CreateSceneObject(kind)->HitTest()) << kind;
  }
  for (const char* kind : {"TvgButton", "TvgBackground", "TvgRectangle", "TvgTreeView",
                           "TvgTreeViewItem", "TvgTabItem", "TvgRadioButton"}) {
    EXPECT_TRUE(CreateSceneObject(kind)->HitTest()) << kind;
  }
}

std::string LoadError(const std::string& text) {
  try {
    LoadText(text, {{"Known", [](TvgObject&) {}}});
  } catch (const EFormLoadError& error) {
    return error.what();
  }
  return "loaded";
}

std::string WithProperty(const std::string& className, const std::string& property) {
  return "object Thing: " + className + "\n  " + property + "\nend";
}

TEST(FormLoaderTest, ErrorsNameTheObjectItsClassAndTheProperty) {
  EXPECT_EQ(LoadError(WithProperty("TvgText", "Colour = '#FF000000'")),
            "Thing (TvgText): unknown property 'Colour'");
  EXPECT_EQ(LoadError("object Thing: TvgMemo\nend"), "Thing: unknown class 'TvgMemo'");
  EXPECT_EQ(LoadError(WithProperty("TvgButton", "OnClick = Unknown")),
            "Thing (TvgButton), property OnClick: the window has no handler 'Unknown'");
  EXPECT_EQ(LoadError(WithProperty("TvgButton", "OnClick = known")), "loaded");
  EXPECT_EQ(LoadError(WithProperty("TvgText", "Fill.Color = 'red'")),
            "Thing (TvgText), property Fill.Color: expected a colour '#AARRGGBB', not 'red'");
  EXPECT_EQ(LoadError(WithProperty("TvgLayout", "Align = vaMiddle")),
            "Thing (TvgLayout), property Align: unknown value 'vaMiddle'");
}

TEST(FormLoaderTest, ValuesOfTheWrongKindFail) {
  for (const char* property :
       {"Width = 'wide'", "Width = -1", "Width = 1.0e4000", "Visible = 1", "Visible = 'True'",
        "Opacity = 2", "Font.Style = [vgFontHuge]", "Font.Size = 0", "Text = Ident",
        "Align = 'vaTop'", "Padding.Middle = 3", "Fill.Color = 4278190080", "WordWrap = Yes"}) {
    const std::string error = LoadError(WithProperty("TvgText", property));
    EXPECT_NE(error, "loaded") << property;
    EXPECT_NE(error.find("Thing (TvgText)"), std::string::npos) << error;
  }
  EXPECT_NE(LoadError(WithProperty("TvgRectangle",
                                   "Fill.Gradient.Points = <\n item\n Colour = "
                                   "'#FF000000'\n end>")),
            "loaded");
  EXPECT_NE(LoadError(WithProperty("TvgImage", "Bitmap.Picture = {00112233}")), "loaded");
  EXPECT_NE(LoadError(WithProperty("TvgImage", "Bitmap.Picture = 'picture.png'")), "loaded");
}

TEST(FormLoaderTest, NumbersAndStringsOfEveryStoredKindAreAccepted) {
  // An integer, an extended float and a wide string, as the form text compiler types them.
  auto loaded = LoadText(R"(object T: TvgText
    Width = 100
    Height = 19.5
    Position.X = -4
    Text = 'Krakow '#8364
  end)");
  EXPECT_FLOAT_EQ(loaded->Width(), 100);
  EXPECT_FLOAT_EQ(loaded->Height(), 19.5f);
  EXPECT_FLOAT_EQ(loaded->Position().x, -4);
  EXPECT_EQ(loaded->Text(), "Krakow €");
}

TEST(FormLoaderTest, NamesAreResolvedAndMustBeUnique) {
  EXPECT_NE(LoadError(R"(object S: TvgScene
    object Twin: TvgLayout
    end
    object twin: TvgText
    end
  end)"),
            "loaded");
  EXPECT_EQ(LoadError(R"(object S: TvgScene
    ActiveControl = Missing
  end)"),
            "S (TvgScene), property ActiveControl: no object of the scene is named 'Missing'");
  EXPECT_NE(LoadError(R"(object S: TvgScene
    Style = vgResources1
  end)"),
            "loaded");
  // Unnamed objects may be many.
  EXPECT_EQ(LoadError(R"(object S: TvgScene
    object TvgLayout
    end
    object TvgLayout
    end
  end)"),
            "loaded");
}

TEST(FormLoaderTest, TheScenesStyleNamesAStyleLibraryOfTheWindow) {
  const std::map<std::string, TNotifyEvent> handlers;
  TFormLoadContext context(handlers);
  TvgResources library;
  library.SetName("vgResources1");
  TvgLayout notALibrary;
  notALibrary.SetName("Plain");
  context.Register(library);
  context.Register(notALibrary);
  EXPECT_EQ(context.Object("VGRESOURCES1"), &library);

  auto loaded =
      LoadSceneObject(ParseFormText("object S: TvgScene\n Style = vgResources1\nend"), context);
  ASSERT_TRUE(loaded);
  EXPECT_THROW(LoadSceneObject(ParseFormText("object S2: TvgScene\n Style = Plain\nend"), context),
               EFormLoadError);
}

TEST(FormLoaderTest, ANameLoadedTwiceIntoOneContextFails) {
  const std::map<std::string, TNotifyEvent> handlers;
  TFormLoadContext context(handlers);
  const auto first = LoadSceneObject(ParseFormText("object A: TvgLayout\nend"), context);
  EXPECT_THROW(LoadSceneObject(ParseFormText("object a: TvgLayout\nend"), context), EFormLoadError);
}

// Damaged layouts end in one of the two clear errors, or load into a scene that works.
TEST(FormLoaderTest, DamagedStreamsFailClearlyOrLoadUsably) {
  const std::string stream = CompileFormText(EveryKind());
  std::vector<std::string> calls;
  const std::map<std::string, TNotifyEvent> handlers = Handlers(calls);
  std::mt19937 random(20261209);
  int loaded = 0;
  for (int round = 0; round < 400; ++round) {
    std::string damaged = stream;
    for (int change = 0; change < 3; ++change) {
      damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
    }
    if (round % 4 == 0) damaged.resize(random() % damaged.size());
    try {
      TFormLoadContext context(handlers);
      std::unique_ptr<TvgObject> object = LoadSceneObject(ReadFormStream(damaged), context);
      if (auto* scene = dynamic_cast<TvgScene*>(object.get())) {
        scene->Layout();
        scene->MouseDown({200, 27});
        scene->MouseUp({200, 27});
        scene->KeyDown(EKey::Tab);
        scene->KeyDown(EKey::Enter);
      }
      ++loaded;
    } catch (const EFormStreamError&) {
    } catch (const EFormLoadError&) {
    }
  }
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace dbinst
