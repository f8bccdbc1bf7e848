#include "register/RegisterChildWindows.h"

namespace shop {

RegisterChildWindows &RegisterChildWindows::current()
{
    static RegisterChildWindows windows;
    return windows;
}

} // namespace shop
