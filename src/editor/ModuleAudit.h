#pragma once

#include "common/host/ModuleState.h"

namespace shop {

// The shared user-audit component of the module. The register opens it when it
// loads; a save or cancellation that runs without the register opens it here.
clsUserAuditing &moduleAudit();

} // namespace shop
