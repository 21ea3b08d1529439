// The stand-in IDE as one object: its designers, object inspector, registries and
// packages. Each test builds a fresh one; omide builds one for its session. Only one
// exists at a time, and it installs the platform's globals the package calls.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "DesignHub.h"
#include "Designer.h"

class TObjectInspector;
class TPackageLoader;
class TDesktop;

class PACKAGE TIde {
 public:
  TIde();
  ~TIde();
  TIde(const TIde&) = delete;
  TIde& operator=(const TIde&) = delete;

  static TIde* Current();

  // Opens a form file for design. The root's class is the class the file names when the
  // IDE knows it; otherwise the base class of the form in the developer's source: the
  // header beside the form file (`class TForm1 : public TForm`) when there is one.
  TDesigner* OpenForm(const String& FileName);
  // A new design root of that class, with that name.
  TDesigner* NewForm(TComponentClass RootClass, const String& Name);
  void CloseDesigner(TDesigner* Designer);
  const std::vector<TDesignerRefPtr>& Designers() const noexcept { return FDesigners; }
  TDesigner* FindDesigner(const String& RootName) const;
  TDesigner* ActiveDesigner() const noexcept { return FActive; }
  // Makes the designer's form the one the person works on, as a click on it does: the
  // IDE keeps one active window, so its own windows (a columns editor) are deactivated,
  // and clicking back into one activates it again.
  void SetActiveDesigner(TDesigner* Designer);

  TObjectInspector& Inspector() noexcept { return *FInspector; }
  // The IDE's windowing platform: Application, Screen, input.
  TDesktop& Desktop() noexcept { return *FDesktop; }
  TPackageLoader& Packages() noexcept { return *FPackages; }

  // The IDE's own palette pages, before any package adds to them: the data access
  // components and the image list a designed form needs beside the package's. The IDE
  // a person runs has them; the tests of a package see only what the package registers.
  void RegisterStandardComponents();

  // Frees every window and editor whose class that module defines (a package going).
  void DestroyObjectsOf(const TLibModule* Module);

  // The listeners and environment the IDE shares with its designers and design windows.
  TDesignHub& Hub() noexcept { return FHub; }
  void AddSink(TDesignSink* Sink) { FHub.AddSink(Sink); }
  void RemoveSink(TDesignSink* Sink) { FHub.RemoveSink(Sink); }

  // The IDE's key below the current user, without a trailing separator.
  static String BaseRegKey();
  // What the last modal edit asked of the object inspector.
  struct TModalEdit {
    int Count = 0;
    char Key = 0;
    TObject* ReturnWindow = nullptr;
  };
  const TModalEdit& LastModalEdit() const noexcept { return FModalEdit; }
  // The object inspector's modal edit: activated as if Key had been typed into its row.
  void ModalEdit(char Key, TObject* ReturnWindow);

 private:
  // First, so that it outlives everything that listens to it.
  TDesignHub FHub;
  std::unique_ptr<TDesktop> FDesktop;
  std::vector<TDesignerRefPtr> FDesigners;
  TDesigner* FActive = nullptr;
  std::unique_ptr<TObjectInspector> FInspector;
  std::unique_ptr<TPackageLoader> FPackages;
  struct TServices;
  std::unique_ptr<TServices> FServices;
  TModalEdit FModalEdit;

 public:
#if OM_HOST_RELEASE == 6
  // The listeners the package registers through RegisterDesignNotification.
  void AddDesignNotification(const DelphiInterface<class IDesignNotification>& Listener);
  void RemoveDesignNotification(const DelphiInterface<class IDesignNotification>& Listener);
#endif
};
