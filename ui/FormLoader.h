#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/FormValue.h"
#include "ui/TvgObject.h"

namespace dbinst {

// A stored form that does not fit the toolkit: unknown class, property or handler, a name used
// twice, a reference to no object. The message names the object and the property.
class EFormLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What loading one form knows: the handlers the window offers by name, and the objects loaded
// so far by name, so that properties naming other objects can be resolved after loading.
class TFormLoadContext {
 public:
  explicit TFormLoadContext(const std::map<std::string, TNotifyEvent>& handlers)
      : handlers_(handlers) {}
  // Throws EFormLoadError when the window has no handler of that name.
  TNotifyEvent Handler(std::string_view name, std::string_view where) const;
  void Register(TvgObject& object);
  // Null when nothing of that name was loaded (compared without regard to case).
  TvgObject* Object(std::string_view name) const;
  [[noreturn]] void Fail(const std::string& message) const;

 private:
  const std::map<std::string, TNotifyEvent>& handlers_;
  std::map<std::string, TvgObject*> objects_;  // by lower-case name
};

// Makes an object of a scene kind by its class name ("TvgButton"); null for a name the toolkit
// does not know.
std::unique_ptr<TvgObject> CreateSceneObject(std::string_view className);

// Builds the object and its subtree, then calls Loaded on every object of it.
std::unique_ptr<TvgObject> LoadSceneObject(const TFormObject& stored, TFormLoadContext& context);

}  // namespace dbinst
