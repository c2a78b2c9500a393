// The program's resource identifiers, from the resource script's header when
// it is there. A program built without the resources loads nothing and shows
// empty pictures.
#pragma once

#if __has_include("app/res/resource.h")
#include "app/res/resource.h"
#else
#define IDI_TREVIK 100
#define IDB_ABOUT_GLYPH 101
#endif
