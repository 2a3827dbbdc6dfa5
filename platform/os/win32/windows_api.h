// The Windows headers, for the files of this folder only. The framework
// headers give window messages, virtual keys and wave formats the same
// names as the Windows headers do (as enumerators, where Windows has
// macros), so this header comes after every framework header a file
// includes: the macros then only meet code of this folder, where they
// have the same values.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif

#include <windows.h>
#include <mmsystem.h>
