#pragma once

// The host hands the module its connection, so the class is in the installed headers;
// the module's own sources see the dialects beside it.
#include <rtnmod08/Connection.h>
#include "common/db/Dialect.h"
