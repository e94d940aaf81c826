#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/FormLoader.h"
#include "ui/TTimer.h"
#include "ui/TvgScene.h"

namespace dbinst {

class TvgResources;
class DisplayWindow;
struct DisplayEvent;
struct ScreenPoint;

enum class EFormPosition { ScreenCenter, OwnerCenter };

// A frameless window holding one scene, built from a stored form. A window class binds its
// handlers by name first, then loads its layout; events name the handlers in the layout.
class TvgForm {
 public:
  TvgForm();
  virtual ~TvgForm();
  TvgForm(const TvgForm&) = delete;
  TvgForm& operator=(const TvgForm&) = delete;

  // Offers a handler to the layout under the name it wires (`ButtonMkayClick`).
  void Bind(std::string name, TNotifyEvent handler);
  void Bind(std::string name, std::function<void(TTimer&)> handler);
  // A close-query handler (`FormCloseQuery`), which may refuse the close.
  void Bind(std::string name, std::function<void(bool& canClose)> handler);
  // The bound handler of that name, to attach at run time; empty if none.
  TNotifyEvent Handler(std::string_view name) const;
  std::function<void(TTimer&)> TimerHandler(std::string_view name) const;

  // Builds the window from a binary form stream; throws EFormStreamError or EFormLoadError.
  void LoadLayout(std::string_view formStream);
  // The properties a layout stores for the window itself.
  static const TPropertyTable<TvgForm>& WindowProperties();
  // The window's object name in the layout ("FormMainDbInstall").
  const std::string& Name() const { return name_; }

  TvgScene& Scene() { return *scene_; }
  // The named object, of kind T; throws EFormLoadError when it is missing or of another kind.
  template <class T>
  T& Object(std::string_view name) {
    TvgObject* found = scene_->Find(name);
    T* typed = dynamic_cast<T*>(found);
    if (!typed) MissingObject(name, found);
    return *typed;
  }
  TTimer& Timer(std::string_view name);
  const std::vector<std::unique_ptr<TTimer>>& Timers() const { return timers_; }
  const std::vector<std::unique_ptr<TvgResources>>& StyleLibraries() const { return libraries_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetOwner(TvgForm* owner) { owner_ = owner; }

  bool Shown() const { return shown_; }
  void Show();
  void Hide();
  // Shows the window and runs a nested event loop until it is hidden again.
  void ShowModal();
  bool Modal() const { return modal_; }
  // The close request (Alt+F4, the automation's close): asks OnCloseQuery, then hides.
  void Close();

  // Wired from the layout's OnCloseQuery; sets its argument to false to refuse the close.
  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void()> OnActivate;

  // The real or in-memory window behind this form, made when first shown.
  DisplayWindow* NativeWindow() const { return native_.get(); }
  // Screen pixels per scene unit of the display the form is shown on.
  float Scale() const;

 private:
  // The event loop's side.
  friend class TvgApplication;
  // One input event of this form's window: to the scene, or the close request.
  void HandleInput(const DisplayEvent& event);
  bool NeedsRepaint() const;
  // Draws the scene at the display's scale and presents it.
  void Repaint();
  // The display went away (tests replace it): the window is gone, the form hidden.
  void DropNativeWindow();

  [[noreturn]] void MissingObject(std::string_view name, const TvgObject* found) const;
  void LoadWindowProperty(const TFormProperty& property, TFormLoadContext& context);
  void LoadLibrary(const TFormObject& stored, TFormLoadContext& context);
  void LoadTimer(const TFormObject& stored, TFormLoadContext& context);
  void LoadScene(const TFormObject& stored, TFormLoadContext& context);
  void MakeNativeWindow();
  ScreenPoint CentredPosition() const;
  bool exposed_ = false;
  TFormHandlers handlers_;
  std::string name_;
  std::string caption_;
  std::unique_ptr<TvgScene> scene_;
  std::vector<std::unique_ptr<TTimer>> timers_;
  std::vector<std::unique_ptr<TvgResources>> libraries_;
  std::unique_ptr<DisplayWindow> native_;
  TvgForm* owner_ = nullptr;
  EFormPosition position_ = EFormPosition::ScreenCenter;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool shown_ = false;
  bool modal_ = false;
};

}  // namespace dbinst
