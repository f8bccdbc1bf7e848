#pragma once

#include <rtnmod08/HostComponents.h>

namespace shop {

// The library's own Formcolor.clsFormcolor: the company's colours from
// shop_form_colours (back, fore and button colour as "#rrggbb") on each window.
// Without a stored row or an open connection a window keeps its default look.
class DefaultFormColour final : public clsFormcolor {
public:
    void Applyformcolor(QWidget *window) override;
};

} // namespace shop
