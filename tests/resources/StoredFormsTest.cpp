// The stored layouts as the installer carries them: every object with its kind, place, size and
// wiring, read back from the built installer's resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "payload/ResourceFile.h"
#include "platform/prefix/ElfResourceModule.h"
#include "ui/FormStreamReader.h"
#include "ui/Geometry.h"
#include "ui/TPicture.h"
#include "ui/TvgControls.h"
#include "ui/TvgForm.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

struct TFound {
  const TFormObject* object = nullptr;
  const TFormObject* parent = nullptr;
};

void Index(const TFormObject& object, const TFormObject* parent,
           std::map<std::string, TFound>& index) {
  index[object.objectName] = {&object, parent};
  for (const TFormObject& child : object.children) Index(child, &object, index);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsPng(std::string_view bytes) { return bytes.starts_with("\x89PNG\r\n\x1a\n"); }
bool IsJpeg(std::string_view bytes) { return bytes.starts_with("\xFF\xD8\xFF"); }

class StoredFormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const ElfResourceModule installer(DBINST_INSTALLER_PATH);
    ASSERT_TRUE(installer.Valid()) << installer.Error();
    for (const char* name :
         {"TFORMMAINDBINSTALL", "TFORMMESSAGE", "TFORMFOLDERBROWSER", "TGENERALMOD"}) {
      const std::optional<std::string> stream = ReadResourceBytes(installer, name);
      ASSERT_TRUE(stream.has_value()) << name;
      forms_[name] = ReadFormStream(*stream);
    }
  }

  void SetUp() override {
    index_.clear();
    Index(forms_["TFORMMAINDBINSTALL"], nullptr, index_);
    message_.clear();
    Index(forms_["TFORMMESSAGE"], nullptr, message_);
  }

  static std::map<std::string, TFormObject> forms_;
  std::map<std::string, TFound> index_;
  std::map<std::string, TFound> message_;
};

std::map<std::string, TFormObject> StoredFormsTest::forms_;

struct TPlacement {
  std::string name;
  const char* kind;
  const char* parent;
  const char* align;
  float width;  // 0: the layout gives it
  float height;
  TBounds padding;
};

void ExpectPlacements(const std::map<std::string, TFound>& index,
                      const std::vector<TPlacement>& rows) {
  for (const TPlacement& row : rows) {
    SCOPED_TRACE(row.name);
    const auto found = index.find(row.name);
    ASSERT_NE(found, index.end());
    const TFormObject& object = *found->second.object;
    EXPECT_EQ(object.className, row.kind);
    ASSERT_NE(found->second.parent, nullptr);
    EXPECT_EQ(found->second.parent->objectName, row.parent);
    const TFormValue* align = object.Find("Align");
    EXPECT_EQ(align ? align->Text() : "vaNone", row.align);
    if (row.width > 0) {
      EXPECT_EQ(object.Find("Width")->Number(), row.width);
    }
    EXPECT_EQ(object.Find("Height")->Number(), row.height);
    const auto padding = [&](const char* side) {
      const TFormValue* value = object.Find(std::string("Padding.") + side);
      return value ? value->Number() : 0.0;
    };
    EXPECT_EQ(padding("Left"), row.padding.left);
    EXPECT_EQ(padding("Top"), row.padding.top);
    EXPECT_EQ(padding("Right"), row.padding.right);
    EXPECT_EQ(padding("Bottom"), row.padding.bottom);
  }
}

TEST_F(StoredFormsTest, TheMainWindowHoldsEveryObjectInItsPlace) {
  std::vector<TPlacement> rows = {
      {"vgSceneMainAndOnly", "TvgScene", "FormMainDbInstall", "vaClient", 559, 426, {}},
      {"Root1", "TvgBackground", "vgSceneMainAndOnly", "vaNone", 559, 426, {}},
      {"BackgroundTop", "TvgBackground", "Root1", "vaTop", 0, 27, {}},
      {"TextWindowTitle", "TvgText", "BackgroundTop", "vaNone", 410, 19, {}},
      {"Image6", "TvgImage", "Root1", "vaTop", 559, 56, {}},
      {"TabControlMain", "TvgTabControl", "Root1", "vaClient", 559, 297, {0, -3, 0, -1}},
      {"BackgroundBottom", "TvgBackground", "Root1", "vaBottom", 0, 50, {}},
      {"ButtonExit", "TvgButton", "BackgroundBottom", "vaNone", 112, 23, {}},
      {"ButtonMkay", "TvgButton", "BackgroundBottom", "vaNone", 112, 23, {}},
      {"Layout3", "TvgLayout", "GroupBoxWelcome", "vaClient", 0, 217, {16, 32, 16, 16}},
      {"Image1", "TvgImage", "Layout3", "vaLeft", 168, 217, {}},
      {"Layout4", "TvgLayout", "Layout3", "vaClient", 0, 217, {12, 0, 0, 0}},
      {"TextWelcomeHead", "TvgText", "Layout4", "vaTop", 0, 24, {}},
      {"TextWelcomeFoot01", "TvgText", "Layout4", "vaTop", 0, 20, {0, 6, 0, 0}},
      {"TextWelcomeFoot02", "TvgText", "Layout4", "vaTop", 0, 43, {0, 6, 0, 0}},
      {"Layout5", "TvgLayout", "GroupBoxChoosePath", "vaClient", 0, 229, {16, 28, 16, 8}},
      {"RadioButtonChoosePathMainOne", "TvgRadioButton", "Layout5", "vaTop", 0, 20, {0, 0, 0, 6}},
      {"RadioButtonChoosePathRemainingOnes",
       "TvgRadioButton",
       "Layout5",
       "vaTop",
       0,
       20,
       {0, 0, 0, 6}},
      {"TreeViewPaths", "TvgTreeView", "Layout5", "vaTop", 0, 62, {}},
      {"RadioButtonChoosePathChooseManually",
       "TvgRadioButton",
       "Layout5",
       "vaTop",
       0,
       20,
       {0, 6, 0, 4}},
      {"Layout10", "TvgLayout", "Layout5", "vaTop", 0, 20, {}},
      {"TextChoosePathChooseManuallyPath", "TvgText", "Layout10", "vaClient", 0, 20, {21, 0, 8, 0}},
      {"ButtonChoosePathChooseManuallyBrowse", "TvgButton", "Layout10", "vaRight", 100, 20, {}},
      {"TextChoosePathChooseManuallyWarning", "TvgText", "Layout5", "vaTop", 0, 52, {24, 8, 24, 0}},
      {"Layout11", "TvgLayout", "GroupBoxVerifyPath", "vaClient", 0, 229, {16, 28, 16, 8}},
      {"TextVerifyPathHeader", "TvgText", "Layout11", "vaTop", 0, 32, {}},
      {"TextVerifyPathFoota", "TvgText", "Layout11", "vaTop", 0, 32, {}},
      {"Layout7", "TvgLayout", "GroupBoxInstallDbs", "vaClient", 0, 217, {16, 32, 16, 16}},
      {"Image4", "TvgImage", "Layout7", "vaLeft", 168, 217, {0, 0, 12, 0}},
      {"Layout12", "TvgLayout", "Layout7", "vaClient", 0, 217, {}},
      {"TextInstallMainActivity", "TvgText", "Layout12", "vaTop", 0, 20, {0, 28, 0, 0}},
      {"ProgressBarInstallMainProcess",
       "TvgProgressBar",
       "Layout12",
       "vaTop",
       0,
       12,
       {12, 6, 12, 0}},
      {"TextInstallSubActivity", "TvgText", "Layout12", "vaTop", 0, 20, {0, 18, 0, 0}},
      {"ProgressBarInstallSubProcess",
       "TvgProgressBar",
       "Layout12",
       "vaTop",
       0,
       12,
       {12, 6, 12, 0}},
      {"Layout13", "TvgLayout", "Layout12", "vaTop", 0, 62, {0, 24, 0, 0}},
      {"Layout14", "TvgLayout", "Layout13", "vaLeft", 55, 62, {24, 0, 0, 0}},
      {"Image5", "TvgImage", "Layout14", "vaClient", 0, 62, {}},
      {"TextInstallDiskSpaceInfo", "TvgText", "Layout13", "vaClient", 0, 62, {8, 0, 24, 0}},
      {"Image3", "TvgImage", "GroupBoxFinal", "vaLeft", 168, 217, {16, 32, 20, 16}},
      {"Image2", "TvgImage", "GroupBoxFinal", "vaNone", 50, 50, {}},
      {"TextFinalMessage", "TvgText", "GroupBoxFinal", "vaNone", 329, 75, {}},
  };
  const char* pages[][3] = {{"Layout1", "GroupBoxWelcome", "TabItem01Welcome"},
                            {"Layout2", "GroupBoxChoosePath", "TabItem02ChoosePath"},
                            {"Layout8", "GroupBoxVerifyPath", "TabItem03VerifyPath"},
                            {"Layout6", "GroupBoxInstallDbs", "TabItem04InstallDbs"},
                            {"Layout9", "GroupBoxFinal", "TabItem05Final"}};
  for (const auto& page : pages) {
    rows.push_back({page[0], "TvgLayout", "TabControlMain", "vaNone", 559, 277, {}});
    rows.push_back({page[1], "TvgGroupBox", page[0], "vaClient", 0, 265, {6, 6, 6, 6}});
    rows.push_back({page[2], "TvgTabItem", "TabControlMain", "vaNone", 100, 20, {}});
  }
  for (const std::string i : {"1", "2", "3", "4", "5", "6"}) {
    rows.push_back({"TextWelcomeDb0" + i, "TvgText", "Layout4", "vaTop", 0, 19, {}});
  }
  for (const std::string i : {"1", "2", "3", "4"}) {
    rows.push_back({"TextVerifyPathDbname0" + i, "TvgText", "Layout11", "vaTop", 0, 20, {}});
    rows.push_back(
        {"TextVerifyPathDbdates0" + i, "TvgText", "Layout11", "vaTop", 0, 20, {16, 0, 0, 0}});
  }
  ExpectPlacements(index_, rows);
}

TEST_F(StoredFormsTest, TheMessageWindowHoldsEveryObjectInItsPlace) {
  ExpectPlacements(
      message_,
      {
          {"vgSceneMainAndOnly", "TvgScene", "FormMessage", "vaClient", 472, 200, {}},
          {"Root1", "TvgBackground", "vgSceneMainAndOnly", "vaClient", 472, 200, {}},
          {"BackgroundTop", "TvgBackground", "Root1", "vaTop", 0, 27, {}},
          {"TextWindowTitle", "TvgText", "BackgroundTop", "vaNone", 410, 19, {}},
          {"RectangleMain", "TvgRectangle", "Root1", "vaClient", 472, 123, {}},
          {"ImageIllustration", "TvgImage", "RectangleMain", "vaLeft", 61, 99, {32, 12, 12, 12}},
          {"TextMessage", "TvgText", "RectangleMain", "vaClient", 0, 99, {0, 12, 32, 12}},
          {"ImageSpecimenQuestion", "TvgImage", "RectangleMain", "vaNone", 16, 16, {}},
          {"ImageSpecimenWarning", "TvgImage", "RectangleMain", "vaNone", 16, 16, {}},
          {"BackgroundBottom", "TvgBackground", "Root1", "vaBottom", 0, 50, {}},
          {"ButtonYes", "TvgButton", "BackgroundBottom", "vaNone", 122, 26, {}},
          {"ButtonNo", "TvgButton", "BackgroundBottom", "vaNone", 122, 26, {}},
          {"ButtonOk", "TvgButton", "BackgroundBottom", "vaNone", 181, 26, {}},
      });
}

TEST_F(StoredFormsTest, ObjectsPlacedByHandSitWhereTheWindowsShowThem) {
  struct TRow {
    const std::map<std::string, TFound>* form;
    const char* name;
    float x;
    float y;
  };
  for (const TRow& row : std::vector<TRow>{{&index_, "TextWindowTitle", 16, 0},
                                           {&index_, "ButtonExit", 12, 16},
                                           {&index_, "ButtonMkay", 432, 16},
                                           {&index_, "Image2", 339, 91},
                                           {&index_, "TextFinalMessage", 200, 131},
                                           {&message_, "TextWindowTitle", 16, 0},
                                           {&message_, "ButtonYes", 98, 14},
                                           {&message_, "ButtonNo", 256, 14},
                                           {&message_, "ButtonOk", 146, 14}}) {
    SCOPED_TRACE(row.name);
    const TFormObject& object = *row.form->at(row.name).object;
    EXPECT_EQ(object.Find("Position.X")->Number(), row.x);
    EXPECT_EQ(object.Find("Position.Y")->Number(), row.y);
  }
}

// Every event of both windows, and nothing else wired.
TEST_F(StoredFormsTest, EventsCallTheirHandlersAndNoOthersAreWired) {
  std::map<std::string, std::string> expected = {
      {"FormMainDbInstall.OnActivate", "FormActivate"},
      {"FormMainDbInstall.OnCloseQuery", "FormCloseQuery"},
      {"TimerCheckRunningStuff.OnTimer", "TimerCheckRunningStuffTimer"},
      {"ButtonExit.OnClick", "ButtonExitClick"},
      {"ButtonMkay.OnClick", "ButtonMkayClick"},
      {"RadioButtonChoosePathMainOne.OnChange", "RadioButtonChoosePathChange"},
      {"RadioButtonChoosePathRemainingOnes.OnChange", "RadioButtonChoosePathChange"},
      {"RadioButtonChoosePathChooseManually.OnChange", "RadioButtonChoosePathChange"},
      {"TreeViewPaths.OnClick", "TreeViewPathsClick"},
      {"TreeViewPaths.OnChangeCheck", "TreeViewPathsChangeCheck"},
      {"ButtonChoosePathChooseManuallyBrowse.OnClick", "ButtonChoosePathChooseManuallyBrowseClick"},
      {"ButtonYes.OnClick", "ButtonYesClick"},
      {"ButtonNo.OnClick", "ButtonNoClick"},
      {"ButtonOk.OnClick", "ButtonOkClick"},
  };
  std::map<std::string, std::string> wired;
  for (const auto* form : {&index_, &message_}) {
    for (const auto& [name, found] : *form) {
      for (const TFormProperty& property : found.object->properties) {
        if (!property.name.starts_with("On")) continue;
        EXPECT_EQ(property.value.type, EFormValueType::vaIdent) << name << "." << property.name;
        wired[name + "." + property.name] = property.value.Text();
      }
    }
  }
  EXPECT_EQ(wired, expected);
}

TEST_F(StoredFormsTest, TheWindowsAreFramelessAndCentred) {
  const TFormObject& main = forms_["TFORMMAINDBINSTALL"];
  EXPECT_EQ(main.className, "TFormMainDbInstall");
  EXPECT_EQ(main.objectName, "FormMainDbInstall");
  EXPECT_EQ(main.Find("BorderStyle")->Text(), "bsNone");
  EXPECT_EQ(main.Find("Position")->Text(), "poScreenCenter");
  EXPECT_EQ(main.Find("ClientWidth")->Number(), 559);
  EXPECT_EQ(main.Find("ClientHeight")->Number(), 426);
  const TFormObject& message = forms_["TFORMMESSAGE"];
  EXPECT_EQ(message.className, "TFormMessage");
  EXPECT_EQ(message.objectName, "FormMessage");
  EXPECT_EQ(message.Find("BorderStyle")->Text(), "bsNone");
  EXPECT_EQ(message.Find("Position")->Text(), "poOwnerFormCenter");
  EXPECT_EQ(message.Find("ClientWidth")->Number(), 472);
  EXPECT_EQ(message.Find("ClientHeight")->Number(), 200);
  const TFormObject& module = forms_["TGENERALMOD"];
  EXPECT_EQ(module.className, "TGeneralMod");
  EXPECT_EQ(module.Find("OnDestroy")->Text(), "DataModuleDestroy");
}

TEST_F(StoredFormsTest, TheMainWindowsTimersAreStoppedAndOnlyTheRunningCheckHasAHandler) {
  const TFormObject& disk = *index_.at("TimerDiskSpaceInfo").object;
  EXPECT_EQ(disk.className, "TTimer");
  EXPECT_EQ(index_.at("TimerDiskSpaceInfo").parent->objectName, "FormMainDbInstall");
  EXPECT_EQ(disk.Find("Enabled")->type, EFormValueType::vaFalse);
  EXPECT_EQ(disk.Find("OnTimer"), nullptr);
  const TFormObject& running = *index_.at("TimerCheckRunningStuff").object;
  EXPECT_EQ(running.className, "TTimer");
  EXPECT_EQ(index_.at("TimerCheckRunningStuff").parent->objectName, "FormMainDbInstall");
  EXPECT_EQ(running.Find("Enabled")->type, EFormValueType::vaFalse);
  EXPECT_EQ(running.Find("Interval")->Number(), 250);
}

TEST_F(StoredFormsTest, ScenesNameTheirStyleLibraryWhichHoldsEveryStyleTheyLookUp) {
  for (const auto* form : {&index_, &message_}) {
    const TFormObject& scene = *form->at("vgSceneMainAndOnly").object;
    EXPECT_EQ(scene.Find("Style")->Text(), "vgResources1");
    std::set<std::string> styles;
    const TFound& library = form->at("vgResources1");
    EXPECT_EQ(library.object->className, "TvgResources");
    const TFormObject nested = ReadNestedFormStream(*library.object->Find("Resource"));
    for (const TFormObject& style : nested.children) styles.insert(Lower(style.objectName));
    for (const auto& [name, found] : *form) {
      if (const TFormValue* lookup = found.object->Find("StyleLookup")) {
        EXPECT_TRUE(styles.count(Lower(lookup->Text()))) << name << " looks up " << lookup->Text();
      }
    }
  }
  EXPECT_EQ(index_.at("vgSceneMainAndOnly").object->Find("ActiveControl")->Text(), "ButtonMkay");
  EXPECT_EQ(message_.at("vgSceneMainAndOnly").object->Find("ActiveControl")->Text(), "ButtonOk");
  for (const char* name : {"vgResources1", "vgResources2", "vgResources3"}) {
    EXPECT_EQ(index_.at(name).object->className, "TvgResources") << name;
    EXPECT_EQ(index_.at(name).parent->objectName, "FormMainDbInstall") << name;
  }
  EXPECT_EQ(message_.at("vgResources1").parent->objectName, "FormMessage");
}

TEST_F(StoredFormsTest, PicturesHaveTheirSizesAndFormats) {
  struct TRow {
    const std::map<std::string, TFound>* form;
    const char* name;
    bool jpeg;
    int width;
    int height;
    const char* wrap;
  };
  for (const TRow& row : std::vector<TRow>{
           {&index_, "Image6", true, 1737, 174, "vgImageStretch"},
           {&index_, "Image1", true, 250, 341, "vgImageStretch"},
           {&index_, "Image4", true, 250, 341, "vgImageStretch"},
           {&index_, "Image3", true, 250, 341, "vgImageStretch"},
           {&index_, "Image5", false, 48, 48, "vgImageFit"},
           {&index_, "Image2", false, 50, 50, "vgImageFit"},
           {&message_, "ImageSpecimenQuestion", false, 50, 50, "vgImageFit"},
           {&message_, "ImageSpecimenWarning", false, 50, 50, "vgImageFit"},
       }) {
    SCOPED_TRACE(row.name);
    const TFormObject& image = *row.form->at(row.name).object;
    EXPECT_EQ(image.Find("WrapMode")->Text(), row.wrap);
    const TFormValue* picture = image.Find("Bitmap.Picture");
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->type, EFormValueType::vaBinary);
    const std::string& bytes = picture->bytes;
    EXPECT_EQ(row.jpeg ? IsJpeg(bytes) : IsPng(bytes), true);
    const std::shared_ptr<const TPicture> decoded = TPicture::Decode(bytes);
    EXPECT_EQ(decoded->Width(), row.width);
    EXPECT_EQ(decoded->Height(), row.height);
  }
  const TFormObject& illustration = *message_.at("ImageIllustration").object;
  EXPECT_EQ(illustration.Find("Bitmap.Picture"), nullptr);
  EXPECT_EQ(illustration.Find("WrapMode")->Text(), "vgImageFit");
  EXPECT_EQ(message_.at("ImageSpecimenQuestion").object->Find("Visible")->type,
            EFormValueType::vaFalse);
  EXPECT_EQ(message_.at("ImageSpecimenWarning").object->Find("Visible")->type,
            EFormValueType::vaFalse);
}

bool Bold(const TFormObject& object) {
  const TFormValue* style = object.Find("Font.Style");
  return style && std::find(style->elements.begin(), style->elements.end(), "vgFontBold") !=
                      style->elements.end();
}

TEST_F(StoredFormsTest, TextsUseOneFontFamilyWithTheirSizesAndStyles) {
  for (const auto* form : {&index_, &message_}) {
    for (const auto& [name, found] : *form) {
      const TFormValue* family = found.object->Find("Font.Family");
      if (found.object->Find("Font.Size")) {
        ASSERT_NE(family, nullptr) << name;
        EXPECT_EQ(family->Text(), "Microsoft Sans Serif") << name;
      }
    }
  }
  const std::set<std::string> bold = {"TextWindowTitle",
                                      "ButtonExit",
                                      "ButtonMkay",
                                      "GroupBoxWelcome",
                                      "GroupBoxChoosePath",
                                      "GroupBoxVerifyPath",
                                      "GroupBoxInstallDbs",
                                      "GroupBoxFinal",
                                      "TextChoosePathChooseManuallyWarning",
                                      "TextVerifyPathDbname01",
                                      "TextVerifyPathDbname02",
                                      "TextVerifyPathDbname03",
                                      "TextVerifyPathDbname04",
                                      "TextVerifyPathFoota",
                                      "TextFinalFailureHead"};
  for (const auto& [name, found] : index_) {
    if (!found.object->Find("Font.Size")) continue;
    EXPECT_EQ(Bold(*found.object), bold.count(name) == 1) << name;
    const float size = name == "TextFinalMessage" ? 18 : 12;
    EXPECT_EQ(found.object->Find("Font.Size")->Number(), size) << name;
  }
  for (const auto& [name, found] : message_) {
    if (!found.object->Find("Font.Size")) continue;
    EXPECT_EQ(Bold(*found.object), name == "TextWindowTitle") << name;
    EXPECT_EQ(found.object->Find("Font.Size")->Number(), 12) << name;
  }
  for (const char* name : {"TextWindowTitle", "TextWelcomeHead", "TextWelcomeDb01",
                           "TextWelcomeDb06", "TextWelcomeFoot01", "TextWelcomeFoot02"}) {
    EXPECT_EQ(index_.at(name).object->Find("HorzTextAlign")->Text(), "vgTextAlignNear") << name;
  }
  EXPECT_EQ(message_.at("TextWindowTitle").object->Find("HorzTextAlign")->Text(),
            "vgTextAlignNear");
}

TEST_F(StoredFormsTest, WarningsAreRedAndTheManualFolderWarningReadsFromTheTop) {
  const TFormObject& warning = *index_.at("TextChoosePathChooseManuallyWarning").object;
  EXPECT_EQ(warning.Find("Fill.Color")->Text(), "#FFC04040");
  EXPECT_EQ(warning.Find("VertTextAlign")->Text(), "vgTextAlignNear");
  EXPECT_EQ(index_.at("TextVerifyPathFoota").object->Find("Fill.Color")->Text(), "#FFC04040");
}

TEST_F(StoredFormsTest, TabItemsBindThePagesOfWhichOnlyTheWelcomePageShows) {
  const TFormObject& tabs = *index_.at("TabControlMain").object;
  EXPECT_EQ(tabs.Find("StyleLookup")->Text(), "tabcontrolbrightstyle");
  EXPECT_EQ(tabs.Find("TabIndex")->Number(), 0);
  const std::vector<std::pair<std::string, std::string>> items = {
      {"TabItem01Welcome", "Layout1"},
      {"TabItem02ChoosePath", "Layout2"},
      {"TabItem03VerifyPath", "Layout8"},
      {"TabItem04InstallDbs", "Layout6"},
      {"TabItem05Final", "Layout9"}};
  std::vector<std::pair<std::string, std::string>> stored;
  for (const TFormObject& child : tabs.children) {
    if (child.className == "TvgTabItem")
      stored.emplace_back(child.objectName, child.Find("Layout")->Text());
  }
  EXPECT_EQ(stored, items);
  for (const auto& [item, page] : items) {
    const TFormObject& layout = *index_.at(page).object;
    EXPECT_EQ(layout.Find("ClipChildren")->type, EFormValueType::vaTrue) << page;
    const TFormValue* visible = layout.Find("Visible");
    EXPECT_EQ(visible == nullptr, page == "Layout1") << page;
    if (visible) {
      EXPECT_EQ(visible->type, EFormValueType::vaFalse) << page;
    }
    const TFormObject& box = layout.children.at(0);
    EXPECT_EQ(box.Find("StyleLookup")->Text(), "cpgroupbox") << page;
  }
}

TEST_F(StoredFormsTest, ButtonsRadioButtonsTreeAndBarsCarryTheirSettings) {
  const TFormObject& mkay = *index_.at("ButtonMkay").object;
  EXPECT_EQ(mkay.Find("Default")->type, EFormValueType::vaTrue);
  EXPECT_EQ(mkay.Find("DisableFocusEffect")->type, EFormValueType::vaTrue);
  EXPECT_EQ(index_.at("ButtonExit").object->Find("DisableFocusEffect")->type,
            EFormValueType::vaTrue);
  EXPECT_EQ(index_.at("ButtonExit").object->Find("Default"), nullptr);
  EXPECT_EQ(index_.at("RadioButtonChoosePathMainOne").object->Find("IsChecked")->type,
            EFormValueType::vaTrue);
  EXPECT_EQ(index_.at("RadioButtonChoosePathRemainingOnes").object->Find("IsChecked"), nullptr);
  EXPECT_EQ(index_.at("RadioButtonChoosePathChooseManually").object->Find("IsChecked"), nullptr);
  const TFormObject& tree = *index_.at("TreeViewPaths").object;
  EXPECT_EQ(tree.Find("ShowCheckboxes")->type, EFormValueType::vaTrue);
  EXPECT_EQ(tree.Find("AutoExpand")->type, EFormValueType::vaFalse);
  for (const char* name : {"ProgressBarInstallMainProcess", "ProgressBarInstallSubProcess"}) {
    const TFormObject& bar = *index_.at(name).object;
    EXPECT_EQ(bar.Find("Min")->Number(), 0) << name;
    EXPECT_EQ(bar.Find("Max")->Number(), 100) << name;
    EXPECT_EQ(bar.Find("Orientation")->Text(), "vgHorizontal") << name;
  }
  EXPECT_EQ(index_.at("TextInstallSubActivity").object->Find("Text")->Text(),
            "Obliczanie docelowego rozmiaru baz");
}

TEST_F(StoredFormsTest, ShadowsFallOnTheSidePicturesAndBarsAndTheDriveIsReflected) {
  std::set<std::string> shadowed;
  for (const auto& [name, found] : index_) {
    const TFormObject& object = *found.object;
    if (object.className == "TvgShadowEffect") {
      SCOPED_TRACE(name);
      shadowed.insert(found.parent->objectName);
      EXPECT_EQ(object.Find("Distance")->Number(), 2);
      EXPECT_EQ(object.Find("Direction")->Number(), 45);
      EXPECT_FLOAT_EQ(static_cast<float>(object.Find("Softness")->Number()), 0.3f);
      EXPECT_FLOAT_EQ(static_cast<float>(object.Find("Opacity")->Number()), 0.4f);
      EXPECT_EQ(object.Find("ShadowColor")->Text(), "#FF000000");
    }
  }
  EXPECT_EQ(shadowed,
            (std::set<std::string>{"Image1", "Image3", "Image4", "ProgressBarInstallMainProcess",
                                   "ProgressBarInstallSubProcess"}));
  const TFormObject& image5 = *index_.at("Image5").object;
  ASSERT_EQ(image5.children.size(), 1u);
  const TFormObject& reflection = image5.children[0];
  EXPECT_EQ(reflection.className, "TvgReflectionEffect");
  EXPECT_FLOAT_EQ(static_cast<float>(reflection.Find("Opacity")->Number()), 0.6f);
  EXPECT_EQ(reflection.Find("Offset")->Number(), -30);
  EXPECT_FLOAT_EQ(static_cast<float>(reflection.Find("Length")->Number()), 0.6f);
}

TEST_F(StoredFormsTest, TheMessageBodyIsAGradientThroughItsFourStops) {
  const TFormObject& rectangle = *message_.at("RectangleMain").object;
  EXPECT_EQ(rectangle.Find("Fill.Kind")->Text(), "vgBrushGradient");
  const TFormValue* points = rectangle.Find("Fill.Gradient.Points");
  ASSERT_NE(points, nullptr);
  ASSERT_EQ(points->type, EFormValueType::vaCollection);
  const std::vector<std::pair<std::string, float>> expected = {{"#FFF8F8F8", 0.0f},
                                                               {"#FFECECEC", 0.1068965f},
                                                               {"#FFECECEC", 0.8793104f},
                                                               {"#FFE0E0E0", 1.0f}};
  ASSERT_EQ(points->items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    std::map<std::string, const TFormValue*> item;
    for (const TFormProperty& property : points->items[i].properties) {
      item[property.name] = &property.value;
    }
    EXPECT_EQ(item.at("Color")->Text(), expected[i].first);
    EXPECT_FLOAT_EQ(static_cast<float>(item.at("Offset")->Number()), expected[i].second);
  }
}

// The layouts as the toolkit builds and lays them out, every handler bound by name.
class StoredFormsLayoutTest : public StoredFormsTest {
 protected:
  static std::unique_ptr<TvgForm> Loaded(const std::string& resource,
                                         const std::vector<std::string>& handlers) {
    auto form = std::make_unique<TvgForm>();
    for (const std::string& handler : handlers) {
      if (handler == "FormCloseQuery") {
        form->Bind(handler, std::function<void(bool&)>([](bool&) {}));
      } else if (handler.ends_with("Timer")) {
        form->Bind(handler, std::function<void(TTimer&)>([](TTimer&) {}));
      } else {
        form->Bind(handler, TNotifyEvent([](TvgObject&) {}));
      }
    }
    const ElfResourceModule installer(DBINST_INSTALLER_PATH);
    form->LoadLayout(*ReadResourceBytes(installer, resource));
    form->Scene().Layout();
    return form;
  }

  static void ExpectRect(TvgForm& form, const char* name, TRectF expected) {
    const TRectF rect = form.Object<TvgObject>(name).SceneRect();
    EXPECT_FLOAT_EQ(rect.left, expected.left) << name;
    EXPECT_FLOAT_EQ(rect.top, expected.top) << name;
    EXPECT_FLOAT_EQ(rect.Width(), expected.right) << name << " width";
    EXPECT_FLOAT_EQ(rect.Height(), expected.bottom) << name << " height";
  }
};

TEST_F(StoredFormsLayoutTest, TheMainWindowLaysOutToItsStoredSizes) {
  const std::unique_ptr<TvgForm> form =
      Loaded("TFORMMAINDBINSTALL",
             {"FormActivate", "FormCloseQuery", "TimerCheckRunningStuffTimer", "ButtonExitClick",
              "ButtonMkayClick", "RadioButtonChoosePathChange", "TreeViewPathsClick",
              "TreeViewPathsChangeCheck", "ButtonChoosePathChooseManuallyBrowseClick"});
  EXPECT_EQ(form->Name(), "FormMainDbInstall");
  EXPECT_EQ(form->ClientWidth(), 559);
  EXPECT_EQ(form->ClientHeight(), 426);
  EXPECT_EQ(form->Scene().ActiveControl(), &form->Object<TvgButton>("ButtonMkay"));
  EXPECT_EQ(form->Timer("TimerCheckRunningStuff").Interval(), 250u);
  EXPECT_FALSE(form->Timer("TimerCheckRunningStuff").Enabled());
  EXPECT_FALSE(form->Timer("TimerDiskSpaceInfo").Enabled());
  EXPECT_FALSE(form->Timer("TimerDiskSpaceInfo").OnTimer);
  EXPECT_EQ(form->StyleLibraries().size(), 3u);
  // Width and height as {left, top, width, height}.
  ExpectRect(*form, "BackgroundTop", {0, 0, 559, 27});
  ExpectRect(*form, "Image6", {0, 27, 559, 56});
  ExpectRect(*form, "BackgroundBottom", {0, 376, 559, 50});
  ExpectRect(*form, "ButtonMkay", {432, 392, 112, 23});
  ExpectRect(*form, "TabControlMain", {0, 80, 559, 297});
  ExpectRect(*form, "Image1",
             {form->Object<TvgObject>("Layout3").SceneRect().left,
              form->Object<TvgObject>("Layout3").SceneRect().top, 168, 217});
  ExpectRect(*form, "TextWelcomeHead",
             {form->Object<TvgObject>("Image1").SceneRect().right + 12,
              form->Object<TvgObject>("Image1").SceneRect().top, 335, 24});
  for (const char* picture : {"Image1", "Image6"}) {
    EXPECT_NE(form->Object<TvgImage>(picture).Picture(), nullptr) << picture;
  }
}

TEST_F(StoredFormsLayoutTest, TheFolderBrowserLaysOutToItsStoredSizes) {
  const std::unique_ptr<TvgForm> form =
      Loaded("TFORMFOLDERBROWSER",
             {"TreeViewFoldersClick", "ButtonOkClick", "ButtonCancelClick", "ButtonNewFolderClick",
              "ButtonScrollUpClick", "ButtonScrollDownClick"});
  EXPECT_EQ(form->Name(), "FormFolderBrowser");
  EXPECT_EQ(form->ClientWidth(), 440);
  EXPECT_EQ(form->ClientHeight(), 420);
  EXPECT_EQ(form->Scene().ActiveControl(), &form->Object<TvgTreeView>("TreeViewFolders"));
  EXPECT_TRUE(form->StyleLibraries().empty());
  ExpectRect(*form, "BackgroundTop", {0, 0, 440, 27});
  ExpectRect(*form, "TextWindowTitle", {16, 0, 400, 19});
  ExpectRect(*form, "BackgroundBottom", {0, 370, 440, 50});
  ExpectRect(*form, "ButtonNewFolder", {12, 384, 140, 23});
  ExpectRect(*form, "ButtonOk", {208, 384, 104, 23});
  ExpectRect(*form, "ButtonCancel", {324, 384, 104, 23});
  ExpectRect(*form, "TextCaption", {12, 35, 416, 40});
  // The error line is hidden until there is an error, and takes no room until then.
  ExpectRect(*form, "ButtonScrollUp", {404, 75, 24, 24});
  ExpectRect(*form, "ButtonScrollDown", {404, 338, 24, 24});
  ExpectRect(*form, "TreeViewFolders", {12, 75, 388, 287});
  EXPECT_FALSE(form->Object<TvgText>("TextError").Visible());
  EXPECT_EQ(form->Object<TvgText>("TextError").TextColor(), kColorWarningRed);
  EXPECT_FALSE(form->Object<TvgTreeView>("TreeViewFolders").ShowCheckboxes());
  EXPECT_TRUE(form->Object<TvgButton>("ButtonOk").IsDefault());
}

TEST_F(StoredFormsLayoutTest, TheMessageWindowLaysOutToItsStoredSizes) {
  const std::unique_ptr<TvgForm> form =
      Loaded("TFORMMESSAGE", {"ButtonYesClick", "ButtonNoClick", "ButtonOkClick"});
  EXPECT_EQ(form->Name(), "FormMessage");
  EXPECT_EQ(form->Scene().ActiveControl(), &form->Object<TvgButton>("ButtonOk"));
  ExpectRect(*form, "RectangleMain", {0, 27, 472, 123});
  ExpectRect(*form, "ImageIllustration", {32, 39, 61, 99});
  ExpectRect(*form, "TextMessage", {105, 39, 335, 99});
  ExpectRect(*form, "ButtonOk", {146, 164, 181, 26});
  EXPECT_EQ(form->Object<TvgImage>("ImageSpecimenQuestion").Picture()->Width(), 50);
  EXPECT_EQ(form->Object<TvgRectangle>("RectangleMain").GradientStops().size(), 4u);
}

}  // namespace
}  // namespace dbinst
