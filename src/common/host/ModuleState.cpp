#include "common/host/ModuleState.h"

namespace shop {

ModuleState &moduleState()
{
    static ModuleState state;
    return state;
}

} // namespace shop
