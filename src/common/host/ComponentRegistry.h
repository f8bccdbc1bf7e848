#pragma once

// Hosts register their own components, so the registry is in the installed headers.
#include <rtnmod08/ComponentRegistry.h>

