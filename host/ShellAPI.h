// ShellAPI: asking the desktop to open a document or an address.
#pragma once

#include "Windows.h"

// Results of ShellExecuteA at or below 32 are errors.
enum : int {
  SE_ERR_FNF = 2,
  SE_ERR_PNF = 3,
  SE_ERR_ACCESSDENIED = 5,
  SE_ERR_OOM = 8,
  SE_ERR_NOASSOC = 31
};

// Opens File with the program the desktop associates with it. Operation "open" (or
// none) is the one the desktop knows; Parameters are for programs, which the shell of
// this IDE never starts, and are ignored. The result is above 32 on success.
PACKAGE HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                LPCSTR lpDirectory, INT nShowCmd);
