#pragma once

// Hosts read recordsets (their lookup dialog gets one), so the type is in the installed headers.
#include <rtnmod08/Recordset.h>

