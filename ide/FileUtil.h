// File helpers shared by the IDE's writers.
#pragma once

#include "System.h"

// Writes Data to a temporary file in the same folder and renames it over FileName, so
// that a failed write never leaves a truncated file or loses the old one. Raises
// EFCreateError naming the file.
void WriteFileAtomically(const String& FileName, const void* Data, std::size_t Size);
// The whole file; raises EFOpenError naming the file (missing, unreadable, a folder).
String ReadFileToString(const String& FileName);
