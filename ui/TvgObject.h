#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/AlphaColor.h"
#include "ui/Geometry.h"

typedef struct _cairo cairo_t;

namespace dbinst {

class TvgObject;
class TvgScene;
struct TFormProperty;
class TFormLoadContext;
template <class Owner>
class TPropertyTable;

enum class EAlign { None, Top, Bottom, Left, Right, Client };

// Events carry the object that raised them; an empty function is a detached handler.
using TNotifyEvent = std::function<void(TvgObject& sender)>;

enum class EKey { Enter, Escape, Space, Tab, ShiftTab, Left, Right, Up, Down, AltF4 };

// Calls a copy of the handler, so that a handler may detach or replace itself while it runs.
void RaiseEvent(const TNotifyEvent& event, TvgObject& sender);

// What a control does with the mouse and keys; the scene routes input here.
struct TMouseEvent {
  TPointF local;  // relative to the object's top-left corner, in scene units
};

// One node of a scene: geometry, state and children. Kinds derive from it.
class TvgObject {
 public:
  explicit TvgObject(std::string className);
  virtual ~TvgObject();
  TvgObject(const TvgObject&) = delete;
  TvgObject& operator=(const TvgObject&) = delete;

  const std::string& ClassName() const { return className_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  TvgObject* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<TvgObject>>& Children() const { return children_; }
  TvgObject& AddChild(std::unique_ptr<TvgObject> child);
  // Depth-first, this object included; names compare without regard to case.
  TvgObject* Find(std::string_view name);
  // The scene the object belongs to, null while detached.
  TvgScene* Scene() const;

  EAlign Align() const { return align_; }
  void SetAlign(EAlign align);
  TPointF Position() const { return position_; }
  void SetPosition(TPointF position);
  float Width() const { return width_; }
  float Height() const { return height_; }
  void SetWidth(float width);
  void SetHeight(float height);
  const TBounds& Padding() const { return padding_; }
  void SetPadding(TBounds padding);
  const TBounds& Margins() const { return margins_; }
  void SetMargins(TBounds margins);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  float Opacity() const { return opacity_; }
  void SetOpacity(float opacity);
  bool HitTest() const { return hitTest_; }
  void SetHitTest(bool hitTest) { hitTest_ = hitTest; }
  bool ClipChildren() const { return clipChildren_; }
  void SetClipChildren(bool clip);
  const std::string& StyleLookup() const { return styleLookup_; }
  void SetStyleLookup(std::string style);

  // Visible with every ancestor visible, and enabled with every ancestor enabled.
  bool ShownOnScreen() const;
  bool EnabledOnScreen() const;
  // The object's rectangle in scene coordinates, as the last layout placed it.
  TRectF SceneRect() const;

  // Kinds that show text answer it here; colour and style are those of the text drawn.
  virtual std::string Text() const { return {}; }
  virtual TAlphaColor TextColor() const { return kColorBlack; }
  virtual bool TextBold() const { return false; }

  // Sets one stored property as the kind declares it; false when no class of the kind declares
  // a property of that name.
  bool LoadProperty(const TFormProperty& property, TFormLoadContext& context);
  // The stored properties of this kind (loaded from layouts, shown by the automation's dump),
  // leading on to those of its base classes.
  virtual const TPropertyTable<TvgObject>& StoredProperties() const;
  // Called once the whole tree is loaded, to resolve names of other objects.
  virtual void Loaded(TFormLoadContext& context);

  // Places the aligned children inside this object's rectangle, then lays out each child.
  virtual void Realign();
  // Draws the object itself (not its children) into its local coordinates, at opacity 1: the
  // scene applies opacity, clipping and effects around it.
  virtual void Paint(cairo_t* cr) const;

  virtual bool CanFocus() const { return false; }
  virtual void MouseDown(const TMouseEvent& event);
  // inside: whether the release happened over the object, which makes a click.
  virtual void MouseUp(const TMouseEvent& event, bool inside);
  // True when the key was used.
  virtual bool KeyDown(EKey key);

  TNotifyEvent OnClick;

 protected:
  // A change that needs a repaint, or a new layout and a repaint.
  void Invalidate();
  void InvalidateLayout();
  void SetBounds(TRectF rect) { rect_ = rect; }
  TRectF LocalRect() const { return {0, 0, width_, height_}; }
  // The object's scene rectangle inset by its margins: where its aligned children go.
  TRectF ContentRect() const;
  // The alignment a child is placed by; nothing leaves the child where it is.
  using TAlignOf = std::function<std::optional<EAlign>(const TvgObject& child)>;
  // Places the shown children inside area, edges first in child order, then the Client ones.
  void AlignChildren(TRectF area, const TAlignOf& alignOf);
  // Puts a child at a scene rectangle and takes over its size and relative position.
  void PlaceChild(TvgObject& child, TRectF sceneRect);
  // True when this object holds back the invalidations of its subtree (a tree view in update).
  virtual bool DefersInvalidation(bool /*layout*/) { return false; }

 private:
  std::string className_;
  std::string name_;
  TvgObject* parent_ = nullptr;
  std::vector<std::unique_ptr<TvgObject>> children_;
  EAlign align_ = EAlign::None;
  TPointF position_;
  float width_ = 50;
  float height_ = 50;
  TBounds padding_;
  TBounds margins_;
  bool visible_ = true;
  bool enabled_ = true;
  float opacity_ = 1;
  bool hitTest_ = true;
  bool clipChildren_ = false;
  std::string styleLookup_;
  TRectF rect_;  // scene coordinates
  friend class TvgScene;
};

}  // namespace dbinst
