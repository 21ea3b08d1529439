// File helpers shared by the IDE's writers.
#pragma once

#include "System.h"

// Writes Data to a temporary file in the same folder and renames it over FileName, so
// that a failed write never leaves a truncated file or loses the old one. A symbolic
// link is written through, to the file it names; a read-only file is refused. Raises
// EFCreateError naming the file, and leaves no temporary file behind.
void WriteFileAtomically(const String& FileName, const void* Data, std::size_t Size);
// Removes the temporary files that saves of FileName left when their process died.
void RemoveStaleTemporaries(const String& FileName);
// The whole file; raises EFOpenError naming the file (missing, unreadable, a folder).
String ReadFileToString(const String& FileName);
