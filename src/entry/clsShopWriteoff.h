#pragma once

// The module's public class is in the installed headers.
#include <rtnmod08/clsShopWriteoff.h>

