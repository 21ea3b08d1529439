// Dialogs: message boxes and the common open and save dialogs. Both take their answers
// from the application's input, as every modal window does.
#pragma once

#include "Forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
OM_ENUM_TYPE(TMsgDlgType)
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
OM_ENUM_TYPE(TMsgDlgBtn)
OM_SET_TYPE(TMsgDlgButtons, TMsgDlgBtn)
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A modal box with the text, an icon for the kind and one button per member of Buttons,
// titled after the kind ("Confirm", "Warning"...). It returns the modal result of the
// button the input chose; Escape gives Cancel (or No) where there is one.
PACKAGE int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
PACKAGE void ShowMessage(const String& Msg);
// The box MessageDlg shows, built but not shown; the caller frees it.
PACKAGE TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);

class PACKAGE TCommonDialog : public TComponent {
  OM_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner);
  int HelpContext() const noexcept { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  bool Ctl3D() const noexcept { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  virtual bool Execute() = 0;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  int FHelpContext = 0;
  bool FCtl3D = true;
  TDesignPosition FDesign;
};

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
#if OM_HOST_RELEASE >= 6
  ofDontAddToRecent,
  ofForceShowHidden,
#endif
};
OM_ENUM_TYPE(TOpenOption)
OM_SET_TYPE(TOpenOptions, TOpenOption)
constexpr TOpenOptions DefaultOpenOptions{ofHideReadOnly, ofEnableSizing};

// The common file dialog. Execute takes a file name from the input (or a cancel): a
// relative name is taken from InitialDir (or the current folder); with no extension
// typed, the selected filter's extension (or DefaultExt) is appended. Then the options
// apply as the platform applies them: a folder that does not exist or, for an open
// dialog with ofFileMustExist, a file that does not exist is refused with a warning and
// the dialog waits for another name; a save dialog with ofOverwritePrompt asks before an
// existing file is replaced, and a No keeps it waiting.
class PACKAGE TOpenDialog : public TCommonDialog {
  OM_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  const String& DefaultExt() const noexcept { return FDefaultExt; }
  void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
  const String& FileName() const noexcept { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  TStrings* Files() const noexcept { return FFiles; }
  const String& Filter() const noexcept { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  // The filter's pairs of description and patterns ("Delphi unit (*.pas)", "*.pas"), in order.
  struct TFilterPair {
    String Description, Patterns;
  };
  std::vector<TFilterPair> Filters() const;
  int FilterIndex() const noexcept { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const String& InitialDir() const noexcept { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  TOpenOptions Options() const noexcept { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  const String& Title() const noexcept { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  bool Execute() override;

 protected:
  // True for a save dialog: it may name a file that does not exist yet.
  virtual bool IsSaveDialog() const { return false; }

 private:
  // The extension of the selected filter when it names exactly one ("*.pas"), else "".
  String FilterExtension() const;
  String FDefaultExt;
  String FFileName;
  TStrings* FFiles;
  String FFilter;
  int FFilterIndex = 1;
  String FInitialDir;
  TOpenOptions FOptions = DefaultOpenOptions;
  String FTitle;
};

class PACKAGE TSaveDialog : public TOpenDialog {
  OM_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

 protected:
  bool IsSaveDialog() const override { return true; }
};
