#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/TvgText.h"

namespace dbinst {

// A push button; Enter presses the scene's default button, Space the focused one.
class TvgButton : public TvgObject {
 public:
  TvgButton();

  std::string Text() const override { return text_; }
  void SetText(std::string_view text);
  bool TextBold() const override { return font_.bold; }
  bool IsDefault() const { return default_; }
  const TFont& Font() const { return font_; }
  // Held down by the mouse: drawn pressed until the release.
  bool IsPressed() const { return pressed_; }
  bool ShowsFocusEffect() const { return focusEffect_; }

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;
  bool CanFocus() const override { return true; }
  void MouseDown(const TMouseEvent& event) override;
  void MouseUp(const TMouseEvent& event, bool inside) override;
  bool KeyDown(EKey key) override;

 private:
  std::string text_;
  TFont font_;
  bool default_ = false;
  bool focusEffect_ = true;
  bool pressed_ = false;
};

// One of a group of buttons of which one is checked; checking one unchecks the others of its
// group (same parent and GroupName). OnChange follows every change of IsChecked.
class TvgRadioButton : public TvgObject {
 public:
  TvgRadioButton();

  std::string Text() const override { return text_; }
  void SetText(std::string_view text);
  bool IsChecked() const { return checked_; }
  void SetIsChecked(bool checked);
  const std::string& GroupName() const { return group_; }
  const TFont& Font() const { return font_; }
  bool TextBold() const override { return font_.bold; }

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;
  bool CanFocus() const override { return true; }
  void MouseUp(const TMouseEvent& event, bool inside) override;
  bool KeyDown(EKey key) override;

  TNotifyEvent OnChange;

 private:
  // The shown, enabled buttons of this one's group, this one included, in child order.
  std::vector<TvgRadioButton*> Group() const;
  std::string text_;
  TFont font_;
  std::string group_;
  bool checked_ = false;
};

// A titled frame around its children.
class TvgGroupBox : public TvgObject {
 public:
  TvgGroupBox();
  std::string Text() const override { return text_; }
  void SetText(std::string_view text);
  bool TextBold() const override { return font_.bold; }
  const TFont& Font() const { return font_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;

 private:
  std::string text_;
  TFont font_;
};

}  // namespace dbinst
