#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/TvgObject.h"

typedef struct _cairo cairo_t;

namespace dbinst {

class TvgResources;
class TvgStyle;

// The root of one window's objects: lays them out, draws them, and routes mouse and keys to
// them. Coordinates are scene units (the layouts' pixels); the window scales them to the screen.
class TvgScene : public TvgObject {
 public:
  TvgScene();

  void SetStyleLibrary(const TvgResources* library) { library_ = library; }
  // The library's style of that name, else the toolkit's built-in one, else null.
  const TvgStyle* Style(std::string_view name) const;

  TvgObject* ActiveControl() const { return active_; }
  void SetActiveControl(TvgObject* control);
  // Tab order: focusable, shown and enabled objects in tree order.
  void FocusNext(bool backwards);

  void SetSize(float width, float height);
  // Lays out whatever changed since the last call.
  void Layout();
  // Draws the whole scene at the given scale (2 at 200 %), laid out first.
  void Paint(cairo_t* cr, float scale);
  bool NeedsPaint() const { return needsPaint_; }
  bool NeedsLayout() const { return needsLayout_; }

  // The topmost shown object that takes hits at the point, null over nothing.
  TvgObject* ObjectAt(TPointF scenePoint);
  void MouseDown(TPointF scenePoint);
  void MouseUp(TPointF scenePoint);
  void MouseMove(TPointF scenePoint);
  // The object under the mouse (the last move), and the one a press went to until its release.
  TvgObject* Hovered() const { return hovered_; }
  TvgObject* Pressed() const { return pressed_; }
  // Enter presses the default button, Tab moves the focus, others go to the focused control.
  // True when something used the key (it overrides the object's key handler, hence bool).
  bool KeyDown(EKey key) override;

  // Called by objects whose look or layout changed.
  void Invalidated(bool layout);

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Loaded(TFormLoadContext& context) override;

 private:
  TvgObject* HitAt(TvgObject& object, TPointF point);
  TvgObject* DefaultButton();
  std::string styleName_;
  std::string activeName_;
  TvgObject* hovered_ = nullptr;
  const TvgResources* library_ = nullptr;
  TvgObject* active_ = nullptr;
  TvgObject* pressed_ = nullptr;
  bool needsPaint_ = true;
  bool needsLayout_ = true;
};

}  // namespace dbinst
