#include "common/host/DefaultFormColour.h"

#include "common/host/ModuleState.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace shop {

namespace {

void setRoles(QPalette &palette, const QVariant &stored, std::initializer_list<QPalette::ColorRole> roles)
{
    const QColor colour = QColor::fromString(stored.toString().trimmed());
    if (!colour.isValid())
        return;
    for (const QPalette::ColorRole role : roles)
        palette.setColor(role, colour);
}

} // namespace

void DefaultFormColour::Applyformcolor(QWidget *window)
{
    if (!window)
        return;
    const ConnectionPtr con = moduleState().gadocon;
    if (!con || !con->isOpen())
        return;
    try {
        const Recordset rs = con->query(
            QStringLiteral("select back_colour, fore_colour, button_colour from shop_form_colours where companyid = ?"),
            {moduleState().gintCompanyID});
        if (rs.isEmpty())
            return;
        QPalette palette = window->palette();
        setRoles(palette, rs.field(0), {QPalette::Window});
        setRoles(palette, rs.field(1), {QPalette::WindowText, QPalette::ButtonText});
        setRoles(palette, rs.field(2), {QPalette::Button});
        window->setPalette(palette);
    } catch (...) {
        // Colours are a courtesy: a window opens with its default look rather than not at all.
    }
}

} // namespace shop
