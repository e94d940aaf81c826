#include "ui/TvgForm.h"

#include <algorithm>
#include <cmath>

#include "platform/Display.h"
#include "platform/Text.h"
#include "ui/FormStreamReader.h"
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

bool BooleanValue(const TFormProperty& property, const std::string& where) {
  if (property.value.type == EFormValueType::vaTrue) return true;
  if (property.value.type == EFormValueType::vaFalse) return false;
  Fail(where, property.name + " is not True or False");
}

double NumberValue(const TFormProperty& property, const std::string& where, double low,
                   double high) {
  const TFormValue& value = property.value;
  const bool numeric = value.IsInteger() || value.type == EFormValueType::vaSingle ||
                       value.type == EFormValueType::vaDouble ||
                       value.type == EFormValueType::vaExtended;
  const double number = value.Number();
  if (!numeric || !(number >= low && number <= high)) {
    Fail(where, property.name + " is not a number from " + std::to_string(static_cast<long>(low)) +
                    " to " + std::to_string(static_cast<long>(high)));
  }
  return number;
}

}  // namespace

TvgForm::TvgForm() : scene_(std::make_unique<TvgScene>()) {
  TvgApplication::Instance().AddForm(*this);
}

TvgForm::~TvgForm() { TvgApplication::Instance().RemoveForm(*this); }

void TvgForm::Bind(std::string name, TNotifyEvent handler) {
  handlers_[std::move(name)] = std::move(handler);
}

void TvgForm::Bind(std::string name, std::function<void(TTimer&)> handler) {
  timerHandlers_[std::move(name)] = std::move(handler);
}

void TvgForm::Bind(std::string name, std::function<void(bool& canClose)> handler) {
  closeQueryHandlers_[std::move(name)] = std::move(handler);
}

TNotifyEvent TvgForm::Handler(std::string_view name) const {
  const auto found = handlers_.find(std::string(name));
  return found == handlers_.end() ? TNotifyEvent() : found->second;
}

std::function<void(TTimer&)> TvgForm::TimerHandler(std::string_view name) const {
  const auto found = timerHandlers_.find(std::string(name));
  return found == timerHandlers_.end() ? std::function<void(TTimer&)>() : found->second;
}

std::string TvgForm::HandlerName(const TFormProperty& property) const {
  if (!property.value.IsText() || property.value.Text().empty()) {
    Fail(name_, property.name + " does not name a handler");
  }
  return property.value.Text();
}

void TvgForm::LoadWindowProperty(const TFormProperty& property) {
  const std::string& name = property.name;
  const std::string value = property.value.IsText() ? property.value.Text() : std::string();
  if (name == "BorderStyle") {
    if (value != "bsNone") Fail(name_, "BorderStyle " + value + ": only bsNone windows exist");
  } else if (name == "Position") {
    if (value == "poScreenCenter") {
      position_ = EFormPosition::ScreenCenter;
    } else if (value == "poOwnerFormCenter") {
      position_ = EFormPosition::OwnerCenter;
    } else {
      Fail(name_, "unknown Position " + value);
    }
  } else if (name == "ClientWidth") {
    clientWidth_ = static_cast<int>(NumberValue(property, name_, 1, kLargestClientSide));
  } else if (name == "ClientHeight") {
    clientHeight_ = static_cast<int>(NumberValue(property, name_, 1, kLargestClientSide));
  } else if (name == "Caption") {
    if (!property.value.IsText()) Fail(name_, "Caption is not a text");
    SetCaption(property.value.Text());
  } else if (name == "OnActivate") {
    const std::string handler = HandlerName(property);
    const auto found = handlers_.find(handler);
    if (found == handlers_.end()) Fail(name_, "OnActivate: no handler " + handler);
    OnActivate = [this, event = found->second] { event(*scene_); };
  } else if (name == "OnCloseQuery") {
    const std::string handler = HandlerName(property);
    const auto found = closeQueryHandlers_.find(handler);
    if (found == closeQueryHandlers_.end()) Fail(name_, "OnCloseQuery: no handler " + handler);
    OnCloseQuery = found->second;
  } else {
    Fail(name_, "unknown window property " + name);
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

void TvgForm::LoadTimer(const TFormObject& stored) {
  const std::string where = name_ + "." + stored.objectName;
  if (!stored.children.empty()) Fail(where, "a timer holds no objects");
  auto timer = std::make_unique<TTimer>(stored.objectName);
  for (const TFormProperty& property : stored.properties) {
    if (property.name == "Enabled") {
      timer->SetEnabled(BooleanValue(property, where));
    } else if (property.name == "Interval") {
      timer->SetInterval(static_cast<uint32_t>(NumberValue(property, where, 0, 0x7FFFFFFF)));
    } else if (property.name == "OnTimer") {
      const std::string handler = HandlerName(property);
      timer->OnTimer = TimerHandler(handler);
      if (!timer->OnTimer) Fail(where, "OnTimer: no timer handler " + handler);
    } else {
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
  for (const TFormProperty& property : stored.properties) LoadWindowProperty(property);
  TFormLoadContext context(handlers_);
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
    if (child.className == "TTimer") LoadTimer(child);
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
