// ActnList: actions, the commands that menu items and tool buttons share, and the lists
// that hold them and dispatch their shortcuts.
#pragma once

#include <vector>

#include "ImgList.h"

class TBasicAction;
class TCustomActionList;

// The modifier keys and mouse buttons held during a key press or a click.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
OM_ENUM_TYPE(TShiftStateItem)
OM_SET_TYPE(TShiftState, TShiftStateItem)

// Virtual key codes of the keys the IDE's windows react to.
enum : Word {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112,
  VK_F2 = 113,
  VK_F10 = 121,
  VK_F12 = 123
};

// A key with its modifiers, as menus and actions store it: the virtual key code plus
// scShift, scCtrl and scAlt.
using TShortCut = Word;
extern PACKAGE const TTypeInfo TypeInfo_TShortCut;
// Word-valued published properties are shortcuts.
template <>
struct TTypeInfoOf<Word> {
  static constexpr PTypeInfo Get() { return &TypeInfo_TShortCut; }
};
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Which of an action's properties changed. A client takes only that one, so what it set
// for itself (a tool button's own image) stays until the action's own value changes.
enum TActionChange {
  acAll,  // the client was linked to the action: it takes everything
  acCaption,
  acChecked,
  acEnabled,
  acHelpContext,
  acHint,
  acImageIndex,
  acShortCut,
  acVisible,
};
// Whether a change of What reaches the property Property.
constexpr bool ActionChangeReaches(TActionChange What, TActionChange Property) {
  return What == acAll || What == Property;
}

// What follows an action: a control or a menu item takes the action's caption, state
// and image whenever the action changes.
class PACKAGE IActionClient {
 public:
  virtual void ActionChanged(TBasicAction* Sender, TActionChange What) = 0;

 protected:
  ~IActionClient() = default;
};

class PACKAGE TBasicAction : public TComponent {
  OM_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  // Runs the action: its list's OnExecute may handle it, else its own OnExecute. False
  // when nothing ran it.
  virtual bool Execute();
  // Lets the list's and the action's OnUpdate set its state.
  virtual bool Update();
  void RegisterChanges(IActionClient* Client);
  void UnRegisterChanges(IActionClient* Client);
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every client that the action's property What changed.
  void Change(TActionChange What = acAll);

 private:
  std::vector<IActionClient*> FClients;
};

// Points a client's action field at Value: the old action stops telling the client of its
// changes and the new one starts, linked both ways by free notification, and the client
// takes the new action's state at once.
PACKAGE void SetClientAction(TComponent* Client, IActionClient* AsClient, TBasicAction*& Field,
                             TBasicAction* Value);
// A client's click: its own OnClick when that is not the action's handler, else the action,
// else OnClick.
PACKAGE void ClickClient(TObject* Sender, const TNotifyEvent& OnClick, TBasicAction* Action);

class PACKAGE TContainedAction : public TBasicAction {
  OM_CLASS(TContainedAction, TBasicAction)
 public:
  explicit TContainedAction(TComponent* AOwner);
  ~TContainedAction() override;
  TCustomActionList* ActionList() const noexcept { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  const String& Category() const noexcept { return FCategory; }
  void SetCategory(const String& Value) { FCategory = Value; }
  int Index() const;
  void SetIndex(int Value);
  bool Execute() override;
  bool Update() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

class PACKAGE TCustomAction : public TContainedAction {
  OM_CLASS(TCustomAction, TContainedAction)
 public:
  explicit TCustomAction(TComponent* AOwner);
  const String& Caption() const noexcept { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const noexcept { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const noexcept { return FEnabled; }
  void SetEnabled(bool Value);
  int HelpContext() const noexcept { return FHelpContext; }
  void SetHelpContext(int Value);
  const String& Hint() const noexcept { return FHint; }
  void SetHint(const String& Value);
  int ImageIndex() const noexcept { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const noexcept { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const noexcept { return FVisible; }
  void SetVisible(bool Value);
  int GroupIndex() const noexcept { return FGroupIndex; }
  void SetGroupIndex(int Value);
#if OM_HOST_RELEASE >= 6
  bool AutoCheck() const noexcept { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
#endif
  // Updates the state first; a disabled action does not run.
  bool Execute() override;

 private:
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  int FHelpContext = 0;
  String FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
  int FGroupIndex = 0;
#if OM_HOST_RELEASE >= 6
  bool FAutoCheck = false;
#endif
};

class PACKAGE TAction : public TCustomAction {
  OM_CLASS(TAction, TCustomAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

OM_EVENT_TYPE(TActionEvent, TBasicAction*, bool&)

class PACKAGE TCustomActionList : public TComponent {
  OM_CLASS(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* AOwner);
  ~TCustomActionList() override;
  int ActionCount() const noexcept { return int(FActions.size()); }
  TContainedAction* Actions(int Index) const;
  TCustomImageList* Images() const noexcept { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Runs the enabled action whose shortcut this is; false when there is none.
  bool IsShortCut(TShortCut Key);
  // The list's OnExecute and OnUpdate, which may handle any of its actions.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TDesignPosition FDesign;
};

class PACKAGE TActionList : public TCustomActionList {
  OM_CLASS(TActionList, TCustomActionList)
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};
