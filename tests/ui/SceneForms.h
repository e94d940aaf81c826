#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/FormLoader.h"
#include "ui/FormText.h"
#include "ui/TvgScene.h"

namespace dbinst::test {

// Loads a scene (or any scene object) from the text notation of a form, with the given handlers.
inline std::unique_ptr<TvgObject> LoadText(
    std::string_view text, const std::map<std::string, TNotifyEvent>& handlers = {}) {
  TFormLoadContext context(handlers);
  return LoadSceneObject(ParseFormText(text), context);
}

inline std::unique_ptr<TvgScene> LoadScene(
    std::string_view text, const std::map<std::string, TNotifyEvent>& handlers = {}) {
  std::unique_ptr<TvgObject> object = LoadText(text, handlers);
  auto* scene = dynamic_cast<TvgScene*>(object.get());
  if (!scene) throw std::runtime_error("not a scene");
  object.release();
  std::unique_ptr<TvgScene> result(scene);
  result->Layout();
  return result;
}

template <class T>
T& Get(TvgObject& root, std::string_view name) {
  T* found = dynamic_cast<T*>(root.Find(name));
  if (!found) throw std::runtime_error("no object " + std::string(name));
  return *found;
}

}  // namespace dbinst::test

namespace dbinst::test {

// A press and release at the centre of the object as it is laid out.
inline void Click(TvgScene& scene, const TvgObject& object) {
  scene.Layout();
  const TPointF centre = object.SceneRect().Center();
  scene.MouseDown(centre);
  scene.MouseUp(centre);
}

}  // namespace dbinst::test
