// Resource identifiers shared by trevik.rc and the program's code.
#pragma once

#define IDI_TREVIK 100      // the program icon, 32 x 32, 16 colours
#define IDB_ABOUT_GLYPH 101 // the about button's glyph: normal and disabled 16 x 16 images
