// Removed when the painting branch is merged: draws nothing, decodes no picture, knows no style.
#include <stdexcept>

#include "ui/TPicture.h"
#include "ui/TvgControls.h"
#include "ui/TvgEffects.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"
#include "ui/TvgShapes.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {

const TvgStyle* BuiltInStyle(std::string_view /*name*/) { return nullptr; }

void TvgObject::Paint(cairo_t* /*cr*/) const {}
void TvgText::Paint(cairo_t* /*cr*/) const {}
void TvgProgressBar::Paint(cairo_t* /*cr*/) const {}
void TvgBackground::Paint(cairo_t* /*cr*/) const {}
void TvgRectangle::Paint(cairo_t* /*cr*/) const {}
void TvgImage::Paint(cairo_t* /*cr*/) const {}
void TvgButton::Paint(cairo_t* /*cr*/) const {}
void TvgRadioButton::Paint(cairo_t* /*cr*/) const {}
void TvgGroupBox::Paint(cairo_t* /*cr*/) const {}
void TvgTreeViewItem::Paint(cairo_t* /*cr*/) const {}
void TvgTreeView::Paint(cairo_t* /*cr*/) const {}
void TvgTabItem::Paint(cairo_t* /*cr*/) const {}
void TvgTabControl::Paint(cairo_t* /*cr*/) const {}
void TvgShadowEffect::PaintBehind(cairo_t* /*cr*/, struct _cairo_surface* /*parentPicture*/) const {}
void TvgReflectionEffect::PaintBehind(cairo_t* /*cr*/, struct _cairo_surface* /*parentPicture*/) const {}
void TvgScene::Paint(cairo_t* /*cr*/, float /*scale*/) { Layout(); }

std::shared_ptr<const TPicture> TPicture::Decode(std::string_view /*fileBytes*/) {
  throw std::runtime_error("pictures cannot be decoded yet");
}
TPicture::~TPicture() = default;
int TPicture::Width() const { return 0; }
int TPicture::Height() const { return 0; }

TvgResources::TvgResources() : TvgObject("TvgResources") {}
const TvgStyle* TvgResources::Style(std::string_view /*name*/) const { return nullptr; }
bool TvgResources::LoadProperty(const TFormProperty& /*property*/, TFormLoadContext& /*context*/) {
  return false;
}

}  // namespace dbinst
