#include "editor/EditorChildWindows.h"

namespace shop {

EditorChildWindows &EditorChildWindows::current()
{
    static EditorChildWindows windows;
    return windows;
}

} // namespace shop
