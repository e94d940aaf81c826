#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/TvgText.h"

namespace dbinst {

class TvgTabControl;

// A tab header; its page is the object named by its Layout property, shown while it is selected.
class TvgTabItem : public TvgObject {
 public:
  TvgTabItem();
  TvgTabControl* TabControl() const;
  std::string Text() const override { return text_; }
  void SetText(std::string_view text);
  TvgObject* Page() const { return page_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Loaded(TFormLoadContext& context) override;
  void Paint(cairo_t* cr) const override;
  void MouseUp(const TMouseEvent& event, bool inside) override;

 private:
  std::string text_;
  std::string pageName_;
  TvgObject* page_ = nullptr;
};

// Tab headers along the top and the selected item's page filling the rest.
class TvgTabControl : public TvgObject {
 public:
  TvgTabControl();
  std::vector<TvgTabItem*> Items() const;
  TvgTabItem* Selected() const { return selected_; }
  // Shows the item's page and hides the others.
  void SetSelected(TvgTabItem* item);
  // The selected item's index among the items, -1 when none is selected.
  int TabIndex() const;
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Loaded(TFormLoadContext& context) override;
  void Realign() override;
  void Paint(cairo_t* cr) const override;

 private:
  TvgTabItem* selected_ = nullptr;
  int storedIndex_ = 0;
};

}  // namespace dbinst
