#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/FormValue.h"
#include "ui/TvgObject.h"

namespace dbinst {

class TTimer;

// A stored form that does not fit the toolkit: unknown class, property or handler, a name used
// twice, a reference to no object. The message names the object and the property.
class EFormLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The handlers a window offers its layout by name, for each kind of event.
struct TFormHandlers {
  std::map<std::string, TNotifyEvent> notify;
  std::map<std::string, std::function<void(TTimer&)>> timer;
  std::map<std::string, std::function<void(bool& canClose)>> closeQuery;
};

// What loading one form knows: the handlers the window offers by name, and the objects loaded
// so far by name, so that properties naming other objects can be resolved after loading.
class TFormLoadContext {
 public:
  // A scene alone, whose events are all notifications.
  explicit TFormLoadContext(const std::map<std::string, TNotifyEvent>& handlers)
      : handlers_(handlers) {}
  explicit TFormLoadContext(const TFormHandlers& handlers)
      : handlers_(handlers.notify),
        timerHandlers_(&handlers.timer),
        closeQueryHandlers_(&handlers.closeQuery) {}
  // Throw EFormLoadError when the window has no handler of that name (compared exactly first,
  // then without regard to case).
  TNotifyEvent Handler(std::string_view name, std::string_view where) const;
  std::function<void(TTimer&)> TimerHandler(std::string_view name, std::string_view where) const;
  std::function<void(bool&)> CloseQueryHandler(std::string_view name, std::string_view where) const;
  void Register(TvgObject& object);
  // Null when nothing of that name was loaded (compared without regard to case).
  TvgObject* Object(std::string_view name) const;
  [[noreturn]] void Fail(const std::string& message) const;

 private:
  template <class THandler>
  THandler Find(const std::map<std::string, THandler>* handlers, std::string_view name,
                std::string_view where) const;
  const std::map<std::string, TNotifyEvent>& handlers_;
  const std::map<std::string, std::function<void(TTimer&)>>* timerHandlers_ = nullptr;
  const std::map<std::string, std::function<void(bool&)>>* closeQueryHandlers_ = nullptr;
  std::map<std::string, TvgObject*> objects_;  // by lower-case name
};

// Makes an object of a scene kind by its class name ("TvgButton"); null for a name the toolkit
// does not know.
std::unique_ptr<TvgObject> CreateSceneObject(std::string_view className);
// The class names of the scene kinds, in the order the toolkit lists them.
std::vector<std::string_view> SceneKindNames();

// Builds the object and its subtree, then calls Loaded on every object of it.
std::unique_ptr<TvgObject> LoadSceneObject(const TFormObject& stored, TFormLoadContext& context);

}  // namespace dbinst
