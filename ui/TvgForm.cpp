#include "ui/TvgForm.h"

#include <algorithm>
#include <cmath>

#include "platform/Display.h"
#include "platform/Text.h"
#include "ui/FormStreamReader.h"
#include "ui/PropertyTable.h"
#include "ui/SceneFrame.h"
#include "ui/TvgApplication.h"
#include "ui/TvgResources.h"

namespace dbinst {
namespace {

// The display's keys are the scene's, in the same order.
static_assert(static_cast<int>(EDisplayKey::Enter) == static_cast<int>(EKey::Enter));
static_assert(static_cast<int>(EDisplayKey::ShiftTab) == static_cast<int>(EKey::ShiftTab));
static_assert(static_cast<int>(EDisplayKey::AltF4) == static_cast<int>(EKey::AltF4));

// Larger windows are no layout of ours; the limit keeps a hostile form from asking gigabytes.
constexpr double kLargestClientSide = 8192;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw EFormLoadError(where + ": " + what);
}

template <class THandler>
THandler Bound(const std::map<std::string, THandler>& handlers, std::string_view name) {
  const auto found = handlers.find(std::string(name));
  return found == handlers.end() ? THandler() : found->second;
}

}  // namespace

TvgForm::TvgForm() : scene_(std::make_unique<TvgScene>()) {
  TvgApplication::Instance().AddForm(*this);
}

TvgForm::~TvgForm() { TvgApplication::Instance().RemoveForm(*this); }

void TvgForm::Bind(std::string name, TNotifyEvent handler) {
  handlers_.notify[std::move(name)] = std::move(handler);
}

void TvgForm::Bind(std::string name, std::function<void(TTimer&)> handler) {
  handlers_.timer[std::move(name)] = std::move(handler);
}

void TvgForm::Bind(std::string name, std::function<void(bool& canClose)> handler) {
  handlers_.closeQuery[std::move(name)] = std::move(handler);
}

TNotifyEvent TvgForm::Handler(std::string_view name) const { return Bound(handlers_.notify, name); }

std::function<void(TTimer&)> TvgForm::TimerHandler(std::string_view name) const {
  return Bound(handlers_.timer, name);
}

const TPropertyTable<TvgForm>& TvgForm::WindowProperties() {
  using P = const TStoredProperty&;
  const auto clientSide = [](int TvgForm::*side) {
    return [side](TvgForm& form, P p) {
      form.*side = static_cast<int>(p.NumberFromTo(1, kLargestClientSide));
    };
  };
  constexpr std::string_view kClientSide = "a number of pixels from 1 to 8192";
  static const TPropertyTable<TvgForm> table =
      TPropertiesOf<TvgForm>("the window", nullptr)
          .Enum<bool>("BorderStyle", {{"bsNone", true}}, [](TvgForm&, bool) {})
          .Enum<EFormPosition>("Position",
                               {{"poScreenCenter", EFormPosition::ScreenCenter},
                                {"poOwnerFormCenter", EFormPosition::OwnerCenter}},
                               [](TvgForm& form, EFormPosition at) { form.position_ = at; })
          .Stored("ClientWidth", kClientSide, clientSide(&TvgForm::clientWidth_))
          .Stored("ClientHeight", kClientSide, clientSide(&TvgForm::clientHeight_))
          .Stored("Caption", kAString, [](TvgForm& form, P p) { form.SetCaption(p.Text()); })
          .Stored("OnActivate", kAHandler,
                  [](TvgForm& form, P p) {
                    const TNotifyEvent event = p.Handler();
                    if (event) form.OnActivate = [&form, event] { event(*form.scene_); };
                  })
          .Stored("OnCloseQuery", "the name of a close-query handler of the window",
                  [](TvgForm& form, P p) { form.OnCloseQuery = p.CloseQueryHandler(); })
          .Table();
  return table;
}

void TvgForm::LoadWindowProperty(const TFormProperty& property, TFormLoadContext& context) {
  if (!WindowProperties().Load(*this, TStoredProperty(name_, property, context))) {
    Fail(name_, "unknown window property " + property.name);
  }
}

void TvgForm::LoadLibrary(const TFormObject& stored, TFormLoadContext& context) {
  const std::string where = name_ + "." + stored.objectName;
  if (!stored.children.empty()) Fail(where, "a style library holds no objects");
  auto library = std::make_unique<TvgResources>();
  library->SetName(stored.objectName);
  for (const TFormProperty& property : stored.properties) {
    if (!library->LoadProperty(property, context)) {
      Fail(where, "unknown property " + property.name + " of TvgResources");
    }
  }
  context.Register(*library);
  libraries_.push_back(std::move(library));
}

void TvgForm::LoadTimer(const TFormObject& stored, TFormLoadContext& context) {
  const std::string where = name_ + "." + stored.objectName;
  if (!stored.children.empty()) Fail(where, "a timer holds no objects");
  auto timer = std::make_unique<TTimer>(stored.objectName);
  for (const TFormProperty& property : stored.properties) {
    if (!TTimer::StoredProperties().Load(*timer, TStoredProperty(where, property, context))) {
      Fail(where, "unknown property " + property.name + " of TTimer");
    }
  }
  timers_.push_back(std::move(timer));
}

void TvgForm::LoadScene(const TFormObject& stored, TFormLoadContext& context) {
  std::unique_ptr<TvgObject> loaded = LoadSceneObject(stored, context);
  auto* scene = dynamic_cast<TvgScene*>(loaded.get());
  if (!scene) Fail(name_ + "." + stored.objectName, "is not a TvgScene");
  loaded.release();
  scene_.reset(scene);
}

void TvgForm::LoadLayout(std::string_view formStream) {
  const TFormObject stored = ReadFormStream(formStream);
  name_ = stored.objectName;
  TFormLoadContext context(handlers_);
  for (const TFormProperty& property : stored.properties) LoadWindowProperty(property, context);
  int scenes = 0;
  for (const TFormObject& child : stored.children) {
    if (child.className == "TvgResources") {
      LoadLibrary(child, context);
    } else if (child.className == "TTimer") {
      // Timers need no other object, and are loaded in the next pass.
    } else if (child.className == "TvgScene") {
      ++scenes;
    } else {
      Fail(name_ + "." + child.objectName, "unknown class " + child.className + " in a window");
    }
  }
  if (scenes > 1) Fail(name_, "a window holds one scene");
  for (const TFormObject& child : stored.children) {
    if (child.className == "TTimer") LoadTimer(child, context);
  }
  for (const TFormObject& child : stored.children) {
    if (child.className == "TvgScene") LoadScene(child, context);
  }
  scene_->SetSize(static_cast<float>(clientWidth_), static_cast<float>(clientHeight_));
}

TTimer& TvgForm::Timer(std::string_view name) {
  for (const auto& timer : timers_) {
    if (EqualsNoCase(timer->Name(), name)) return *timer;
  }
  throw EFormLoadError(name_ + ": no timer " + std::string(name));
}

void TvgForm::MissingObject(std::string_view name, const TvgObject* found) const {
  if (!found) throw EFormLoadError(name_ + ": no object " + std::string(name));
  throw EFormLoadError(name_ + ": " + std::string(name) + " is a " + found->ClassName() +
                       ", not the kind asked for");
}

void TvgForm::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (native_) native_->SetTitle(caption_);
}

float TvgForm::Scale() const { return TvgApplication::Instance().Screen().Scale(); }

ScreenPoint TvgForm::CentredPosition() const {
  Display& display = TvgApplication::Instance().Screen();
  const int width = static_cast<int>(std::lround(clientWidth_ * display.Scale()));
  const int height = static_cast<int>(std::lround(clientHeight_ * display.Scale()));
  const TvgForm* owner = owner_ ? owner_ : TvgApplication::Instance().MainForm();
  if (position_ == EFormPosition::OwnerCenter && owner && owner != this && owner->native_) {
    const ScreenPoint at = owner->native_->Position();
    const int ownerWidth = static_cast<int>(std::lround(owner->clientWidth_ * display.Scale()));
    const int ownerHeight = static_cast<int>(std::lround(owner->clientHeight_ * display.Scale()));
    return {at.x + (ownerWidth - width) / 2, at.y + (ownerHeight - height) / 2};
  }
  const ScreenPoint screen = display.ScreenSize();
  return {(screen.x - width) / 2, (screen.y - height) / 2};
}

void TvgForm::MakeNativeWindow() {
  native_ = TvgApplication::Instance().Screen().CreateWindow(std::max(1, clientWidth_),
                                                             std::max(1, clientHeight_));
  if (!native_) throw std::runtime_error(name_ + ": the display cannot make a window");
  native_->SetTitle(caption_.empty() ? TvgApplication::Instance().Title() : caption_);
  // Pressing on a background styled to move the window drags it, unless a control is on top.
  native_->SetDragTest([this](float x, float y) {
    scene_->Layout();
    const TvgObject* hit = scene_->ObjectAt({x, y});
    return hit && EqualsNoCase(hit->StyleLookup(), "backgroundmover");
  });
}

void TvgForm::Show() {
  if (!native_) MakeNativeWindow();
  if (!shown_) native_->SetPosition(CentredPosition());
  shown_ = true;
  native_->Show();
  native_->Raise();
  TvgApplication::Instance().BringToFront(*this);
  exposed_ = true;
  if (OnActivate) OnActivate();
}

void TvgForm::Hide() {
  shown_ = false;
  if (native_) native_->Hide();
}

void TvgForm::ShowModal() {
  if (modal_) return;
  modal_ = true;
  Show();
  TvgApplication::Instance().RunModal(*this);
  modal_ = false;
}

void TvgForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  if (canClose) Hide();
}

void TvgForm::HandleInput(const DisplayEvent& event) {
  const TPointF point{event.x, event.y};
  switch (event.kind) {
    case EDisplayEventKind::MouseDown:
      scene_->MouseDown(point);
      break;
    case EDisplayEventKind::MouseUp:
      scene_->MouseUp(point);
      break;
    case EDisplayEventKind::MouseMove:
      scene_->MouseMove(point);
      break;
    case EDisplayEventKind::Key:
      if (event.key == EDisplayKey::AltF4 || event.key == EDisplayKey::Escape) {
        Close();
      } else {
        scene_->KeyDown(static_cast<EKey>(event.key));
      }
      break;
    case EDisplayEventKind::CloseRequest:
      Close();
      break;
    case EDisplayEventKind::Expose:
      exposed_ = true;
      break;
  }
}

bool TvgForm::NeedsRepaint() const { return shown_ && (exposed_ || scene_->NeedsPaint()); }

void TvgForm::Repaint() {
  if (!native_) return;
  const SceneFrame frame(*scene_, clientWidth_, clientHeight_, Scale());
  exposed_ = false;
  if (!frame.Valid()) return;
  native_->Present(frame.Pixels(), frame.Width(), frame.Height(), frame.Stride());
}

void TvgForm::DropNativeWindow() {
  native_.reset();
  shown_ = false;
}

}  // namespace dbinst
