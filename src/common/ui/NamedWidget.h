#pragma once

#include <QString>
#include <QWidget>

namespace shop {

// Creates a control owned by its parent under the name the module's routines, tests
// and the stored colour and grid settings know it by.
template <typename T>
T *namedWidget(QWidget *parent, const QString &name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

} // namespace shop
