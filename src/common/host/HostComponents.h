#pragma once

// Hosts implement these interfaces, so they are in the installed headers.
#include <rtnmod08/HostComponents.h>

