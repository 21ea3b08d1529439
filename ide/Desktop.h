// The windowing platform of one IDE session: its Application and Screen, the classes
// its form files name, and its input. The IDE builds one when it starts and each test
// builds its own, so that no test depends on another.
#pragma once

#include "Forms.h"

class PACKAGE TDesktop {
 public:
  // Installs a new Application (with an input queue) and Screen as the platform's
  // globals and registers the platform's control classes; raises EInvalidOperation
  // when another desktop is installed.
  TDesktop();
  // Frees every window still open, then the application and the screen, and
  // uninstalls them.
  ~TDesktop();
  TDesktop(const TDesktop&) = delete;
  TDesktop& operator=(const TDesktop&) = delete;

  TApplication* App() const noexcept { return FApplication; }
  TScreen* Scr() const noexcept { return FScreen; }
  // The application's input while it is the queue installed here; raises
  // EInvalidOperation once another source replaced it.
  TInputQueue& Input() const;

 private:
  TApplication* FApplication;
  TScreen* FScreen;
  TInputQueue* FQueue;
};

// The classes of the platform that form files name (TButton, TListView...).
PACKAGE void RegisterPlatformClasses();
PACKAGE void UnRegisterPlatformClasses();

// Writes a bitmap as a PNG file (atomically, as every file the IDE writes).
PACKAGE void SaveBitmapAsPng(const TBitmap* Bitmap, const String& FileName);
