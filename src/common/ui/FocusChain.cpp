#include "common/ui/FocusChain.h"

#include <QWidget>

namespace shop {

namespace {

bool isTabStop(const QWidget *w, const QWidget *window)
{
    // A control with a focus proxy hands the focus on; the proxy is the stop itself.
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->focusProxy() == nullptr
        && w->isEnabled() && w->isVisibleTo(window) && w->window() == window;
}

} // namespace

QWidget *nextTabStop(QWidget *from, bool backwards)
{
    if (!from)
        return nullptr;
    QWidget *window = from->window();
    QWidget *w = from;
    for (;;) {
        w = backwards ? w->previousInFocusChain() : w->nextInFocusChain();
        if (!w || w == from)
            return nullptr;
        if (w != window && isTabStop(w, window))
            return w;
    }
}

} // namespace shop
