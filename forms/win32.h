// The Windows headers as every part of the form layer includes them.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
