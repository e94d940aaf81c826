#include "ui/FormLoader.h"

#include <functional>
#include <utility>

#include "platform/Text.h"
#include "ui/StoredProperties.h"
#include "ui/TvgControls.h"
#include "ui/TvgEffects.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgScene.h"
#include "ui/TvgShapes.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

template <class T>
std::unique_ptr<TvgObject> Make() {
  return std::make_unique<T>();
}

using TFactory = std::unique_ptr<TvgObject> (*)();

const std::pair<std::string_view, TFactory> kSceneKinds[] = {
    {"TvgScene", Make<TvgScene>},
    {"TvgLayout", Make<TvgLayout>},
    {"TvgBackground", Make<TvgBackground>},
    {"TvgRectangle", Make<TvgRectangle>},
    {"TvgImage", Make<TvgImage>},
    {"TvgText", Make<TvgText>},
    {"TvgProgressBar", Make<TvgProgressBar>},
    {"TvgButton", Make<TvgButton>},
    {"TvgRadioButton", Make<TvgRadioButton>},
    {"TvgGroupBox", Make<TvgGroupBox>},
    {"TvgTreeView", Make<TvgTreeView>},
    {"TvgTreeViewItem", Make<TvgTreeViewItem>},
    {"TvgTabControl", Make<TvgTabControl>},
    {"TvgTabItem", Make<TvgTabItem>},
    {"TvgShadowEffect", Make<TvgShadowEffect>},
    {"TvgReflectionEffect", Make<TvgReflectionEffect>},
};

std::unique_ptr<TvgObject> BuildTree(const TFormObject& stored, TFormLoadContext& context) {
  std::unique_ptr<TvgObject> object = CreateSceneObject(stored.className);
  if (!object) {
    const std::string name = stored.objectName.empty() ? "an unnamed object" : stored.objectName;
    context.Fail(name + ": unknown class '" + stored.className + "'");
  }
  object->SetName(stored.objectName);
  context.Register(*object);
  for (const TFormProperty& property : stored.properties) {
    if (!object->LoadProperty(property, context)) {
      context.Fail(DescribeObject(*object) + ": unknown property '" + property.name + "'");
    }
  }
  for (const TFormObject& child : stored.children) {
    object->AddChild(BuildTree(child, context));
  }
  return object;
}

// Children first, so that a tab control finds its items' pages resolved and a scene its objects.
void CallLoaded(TvgObject& object, TFormLoadContext& context) {
  for (const std::unique_ptr<TvgObject>& child : object.Children()) CallLoaded(*child, context);
  object.Loaded(context);
}

}  // namespace

template <class THandler>
THandler TFormLoadContext::Find(const std::map<std::string, THandler>* handlers,
                                std::string_view name, std::string_view where) const {
  if (handlers) {
    const auto exact = handlers->find(std::string(name));
    if (exact != handlers->end()) return exact->second;
    for (const auto& [bound, handler] : *handlers) {
      if (EqualsNoCase(bound, name)) return handler;
    }
  }
  Fail(std::string(where) + ": the window has no handler '" + std::string(name) + "'");
}

TNotifyEvent TFormLoadContext::Handler(std::string_view name, std::string_view where) const {
  return Find(&handlers_, name, where);
}

std::function<void(TTimer&)> TFormLoadContext::TimerHandler(std::string_view name,
                                                            std::string_view where) const {
  return Find(timerHandlers_, name, where);
}

std::function<void(bool&)> TFormLoadContext::CloseQueryHandler(std::string_view name,
                                                               std::string_view where) const {
  return Find(closeQueryHandlers_, name, where);
}

void TFormLoadContext::Register(TvgObject& object) {
  if (object.Name().empty()) return;
  const auto [entry, added] = objects_.emplace(ToLower(object.Name()), &object);
  if (!added && entry->second != &object) {
    Fail(DescribeObject(object) + ": the name '" + object.Name() + "' is used twice");
  }
}

TvgObject* TFormLoadContext::Object(std::string_view name) const {
  const auto found = objects_.find(ToLower(name));
  return found == objects_.end() ? nullptr : found->second;
}

void TFormLoadContext::Fail(const std::string& message) const { throw EFormLoadError(message); }

std::unique_ptr<TvgObject> CreateSceneObject(std::string_view className) {
  for (const auto& [kind, make] : kSceneKinds) {
    if (EqualsNoCase(kind, className)) return make();
  }
  return nullptr;
}

std::vector<std::string_view> SceneKindNames() {
  std::vector<std::string_view> names;
  for (const auto& [kind, make] : kSceneKinds) names.push_back(kind);
  return names;
}

std::unique_ptr<TvgObject> LoadSceneObject(const TFormObject& stored, TFormLoadContext& context) {
  std::unique_ptr<TvgObject> root = BuildTree(stored, context);
  CallLoaded(*root, context);
  return root;
}

}  // namespace dbinst
