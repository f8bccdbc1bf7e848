#pragma once

// A host catches the module's errors, so their type is in the installed headers.
#include <rtnmod08/ModuleError.h>

