#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/FormLoader.h"
#include "ui/FormText.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"

namespace dbinst::test {

// A scene built from a text form, laid out at its size, for drawing tests.
inline std::unique_ptr<TvgScene> SceneFromText(std::string_view text, float width, float height) {
  static const std::map<std::string, TNotifyEvent> kNoHandlers;
  TFormLoadContext context(kNoHandlers);
  std::unique_ptr<TvgObject> loaded = LoadSceneObject(ParseFormText(text), context);
  std::unique_ptr<TvgScene> scene(dynamic_cast<TvgScene*>(loaded.get()));
  if (scene) loaded.release();
  scene->SetSize(width, height);
  scene->Layout();
  return scene;
}

// A style library compiled from the text form of its styles, for drawing tests.
inline std::unique_ptr<TvgResources> StyleLibraryFromText(std::string_view text) {
  static const std::map<std::string, TNotifyEvent> kNoHandlers;
  TFormLoadContext context(kNoHandlers);
  auto library = std::make_unique<TvgResources>();
  library->LoadProperty(
      {"Resource", TFormValue::Bytes(EFormValueType::vaBinary, CompileFormText(text))}, context);
  return library;
}

}  // namespace dbinst::test
