#include "ActnList.h"

#include <algorithm>

OM_ENUM_TYPE_INFO(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle",
                  "ssDouble");
OM_SET_TYPE_INFO(TShiftState, TShiftStateItem);
const TTypeInfo TypeInfo_TShortCut{tkInteger, "TShortCut", 0, 65535};
OM_EVENT_TYPE_INFO(TActionEvent);

// --- TBasicAction -------------------------------------------------------------------------

OM_IMPLEMENT_CLASS(TBasicAction, "Classes");

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() { FClients.clear(); }

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(IActionClient* Client) {
  if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end())
    FClients.push_back(Client);
}

void TBasicAction::UnRegisterChanges(IActionClient* Client) { std::erase(FClients, Client); }

void SetClientAction(TComponent* Client, IActionClient* AsClient, TBasicAction*& Field,
                     TBasicAction* Value) {
  if (Value == Field) return;
  if (Field) {
    Field->UnRegisterChanges(AsClient);
    Field->RemoveFreeNotification(Client);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(AsClient);
    Field->FreeNotification(Client);
    AsClient->ActionChanged(Field, acAll);
  }
}

void ClickClient(TObject* Sender, const TNotifyEvent& OnClick, TBasicAction* Action) {
  if (OnClick && Action && OnClick.Method() != Action->OnExecute.Method())
    OnClick(Sender);
  else if (Action)
    Action->Execute();
  else if (OnClick)
    OnClick(Sender);
}

void TBasicAction::Change(TActionChange What) {
  // A client may unregister while it hears of the change: walk a copy.
  std::vector<IActionClient*> Clients = FClients;
  for (IActionClient* C : Clients)
    if (std::find(FClients.begin(), FClients.end(), C) != FClients.end())
      C->ActionChanged(this, What);
}

// --- TContainedAction -----------------------------------------------------------------------

template <>
struct TPublished<TContainedAction> {
  static constexpr TPropInfo Props[] = {
      Property<&TContainedAction::Category, &TContainedAction::SetCategory>("Category"),
  };
};
OM_IMPLEMENT_CLASS(TContainedAction, "ActnList");

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) std::erase(FActionList->FActions, this);
  FActionList = Value;
  if (FActionList) FActionList->FActions.push_back(this);
}

int TContainedAction::Index() const {
  if (!FActionList) return -1;
  auto& L = FActionList->FActions;
  return int(std::find(L.begin(), L.end(), this) - L.begin());
}

void TContainedAction::SetIndex(int Value) {
  if (!FActionList) return;
  auto& L = FActionList->FActions;
  L.erase(std::find(L.begin(), L.end(), this));
  Value = std::clamp(Value, 0, int(L.size()));
  L.insert(L.begin() + Value, this);
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* L = dynamic_cast<TCustomActionList*>(Value)) SetActionList(L);
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

// --- TCustomAction --------------------------------------------------------------------------

template <>
struct TPublished<TCustomAction> {
  static constexpr TPropInfo Props[] = {
#if OM_HOST_RELEASE >= 6
    Property<&TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck>("AutoCheck", 0),
#endif
    Property<&TCustomAction::Caption, &TCustomAction::SetCaption>("Caption"),
    Property<&TCustomAction::Checked, &TCustomAction::SetChecked>("Checked", 0),
    Property<&TCustomAction::Enabled, &TCustomAction::SetEnabled>("Enabled", 1),
    Property<&TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex>("GroupIndex", 0),
    Property<&TCustomAction::HelpContext, &TCustomAction::SetHelpContext>("HelpContext", 0),
    Property<&TCustomAction::Hint, &TCustomAction::SetHint>("Hint"),
    Property<&TCustomAction::ImageIndex, &TCustomAction::SetImageIndex>("ImageIndex", -1),
    Property<&TCustomAction::ShortCut, &TCustomAction::SetShortCut>("ShortCut", 0),
    Property<&TCustomAction::Visible, &TCustomAction::SetVisible>("Visible", 1),
    Property<&TCustomAction::OnExecute, &TCustomAction::OnExecute>("OnExecute"),
    Property<&TCustomAction::OnUpdate, &TCustomAction::OnUpdate>("OnUpdate"),
  };
};
OM_IMPLEMENT_CLASS(TCustomAction, "ActnList");
OM_IMPLEMENT_CLASS(TAction, "ActnList");

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Change(acCaption);
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  // Checking one action of a group unchecks the others of its list.
  if (Value && FGroupIndex > 0 && ActionList())
    for (int I = 0; I < ActionList()->ActionCount(); ++I)
      if (auto* A = dynamic_cast<TCustomAction*>(ActionList()->Actions(I)))
        if (A != this && A->FGroupIndex == FGroupIndex) A->SetChecked(false);
  Change(acChecked);
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Change(acEnabled);
}

void TCustomAction::SetHelpContext(int Value) {
  if (Value == FHelpContext) return;
  FHelpContext = Value;
  Change(acHelpContext);
}

void TCustomAction::SetHint(const String& Value) {
  if (Value == FHint) return;
  FHint = Value;
  Change(acHint);
}

void TCustomAction::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Change(acImageIndex);
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  FShortCut = Value;
  Change(acShortCut);
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Change(acVisible);
}

void TCustomAction::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
#if OM_HOST_RELEASE >= 6
  if (FAutoCheck) SetChecked(!FChecked);
#endif
  return TContainedAction::Execute();
}

// --- TCustomActionList ----------------------------------------------------------------------

template <>
struct TPublished<TCustomActionList> {
  static constexpr TPropInfo Props[] = {
      Property<&TCustomActionList::Images, &TCustomActionList::SetImages>("Images"),
      Property<&TCustomActionList::OnChange, &TCustomActionList::OnChange>("OnChange"),
      Property<&TCustomActionList::OnExecute, &TCustomActionList::OnExecute>("OnExecute"),
      Property<&TCustomActionList::OnUpdate, &TCustomActionList::OnUpdate>("OnUpdate"),
  };
};
OM_IMPLEMENT_CLASS(TCustomActionList, "ActnList");
OM_IMPLEMENT_CLASS(TActionList, "ActnList");

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomActionList::~TCustomActionList() {
  Destroying();
  // The actions stay with their owner; they only leave this list.
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
}

TContainedAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount())
    throw EListError(Format("Action index out of bounds (%d)", {Index}));
  return FActions[size_t(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

bool TCustomActionList::IsShortCut(TShortCut Key) {
  if (Key == 0) return false;
  for (size_t I = 0; I < FActions.size(); ++I) {
    auto* A = dynamic_cast<TCustomAction*>(FActions[I]);
    if (A && A->ShortCut() == Key) return A->Execute();
  }
  return false;
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnExecute) OnExecute(Action, Handled);
  return Handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnUpdate) OnUpdate(Action, Handled);
  return Handled;
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TContainedAction* A : FActions)
    if (A->Owner() == Root) Proc(A);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TCustomActionList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  FDesign.Define(Filer);
}
