#include "common/ui/Ui.h"

#include "common/ui/QtUi.h"

namespace shop {

namespace {

std::unique_ptr<Ui> &installedUi()
{
    static std::unique_ptr<Ui> ui;
    return ui;
}

} // namespace

Ui &Ui::current()
{
    if (const auto &ui = installedUi())
        return *ui;
    static QtUi qt;
    return qt;
}

void Ui::install(std::unique_ptr<Ui> ui) { installedUi() = std::move(ui); }

} // namespace shop
