// Windows: the handle types and the few window functions the package calls.
#pragma once

#include "System.h"

struct HWND__;
struct HINSTANCE__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using LPCSTR = const char*;
using INT = int;
using UINT = unsigned int;
using DWORD = unsigned int;
using BOOL = int;

enum : int {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_NORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_MAXIMIZE = 3,
  SW_SHOWNOACTIVATE = 4,
  SW_SHOW = 5
};

// The desktop's window: never null, the same handle every call.
PACKAGE HWND GetDesktopWindow();
