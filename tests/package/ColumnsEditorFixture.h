// The columns editor's test fixture: the real package loaded into an IDE with one form
// and one grid, and the package's windows as a developer sees them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include "DBClient.h"

#include "ActnList.h"
#include "ComCtrls.h"
#include "ComponentEditors.h"
#include "DesignWindowCommon.h"
#include "Designer.h"
#include "Desktop.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Ide.h"
#include "ImgList.h"
#include "Inspector.h"
#include "OmDBGrids.h"
#include "OmDBGridsReg.h"
#include "Packages.h"
#include "Registry.h"
#include "Settings.h"
#include "Shell.h"
#include "StdCtrls.h"
#include "TempFolder.h"

namespace {

// The test reaches the package's windows through the host only (class names, virtuals,
// components by name, actions, bound handlers): the package is a plug-in, never linked.
template <class T>
T* Part(TComponent* Form, const char* Name) {
  auto* C = dynamic_cast<T*>(Form->FindComponent(Name));
  EXPECT_NE(C, nullptr) << Name;
  return C;
}

// A columns editor window as a developer sees it.
struct TWindow {
  explicit TWindow(TDesignWindow* F)
      : Form(F),
        FormToolBar(Part<TToolBar>(F, "FormToolBar")),
        FormSplitter(Part<TSplitter>(F, "FormSplitter")),
        FormListView(Part<TListView>(F, "FormListView")),
        StretchToolButton(Part<TToolButton>(F, "StretchToolButton")),
        FormImageList(Part<TImageList>(F, "FormImageList")),
        Labels(Part<TAction>(F, "Labels")),
        AddNew(Part<TAction>(F, "AddNew")),
        Delete(Part<TAction>(F, "Delete")),
        Select(Part<TAction>(F, "Select")),
        AddAll(Part<TAction>(F, "AddAll")),
        Restore(Part<TAction>(F, "Restore")),
        Synchro(Part<TAction>(F, "Synchro")),
        Stretch(Part<TAction>(F, "Stretch")),
        Toolbar(Part<TAction>(F, "Toolbar")) {}
  TDesignWindow* Form;
  TToolBar* FormToolBar;
  TSplitter* FormSplitter;
  TListView* FormListView;
  TToolButton* StretchToolButton;
  TImageList* FormImageList;
  TAction *Labels, *AddNew, *Delete, *Select, *AddAll, *Restore, *Synchro, *Stretch, *Toolbar;

  int Width() const { return Form->Width(); }
  int Height() const { return Form->Height(); }
  String Caption() const { return Form->Caption(); }
  TBorderIcons BorderIcons() const { return Form->BorderIcons(); }
  bool KeyPreview() const { return Form->KeyPreview(); }
  void SetBounds(int L, int T, int W, int H) { Form->SetBounds(L, T, W, H); }
  void Show() { Form->Show(); }
  void Close() { Form->Close(); }
  void OnKeyPress(TObject*, char& Key) { Form->OnKeyPress(Form, Key); }
  TEditState GetEditState() { return Form->GetEditState(); }
#if OM_HOST_RELEASE == 5
  void EditAction(TEditAction A) { Form->EditAction(A); }
#else
  bool EditAction(TEditAction A) { return Form->EditAction(A); }
#endif
  void Activated() { Form->Activated(); }
};
using TOmDBGridColumnsEditor = TWindow;

inline void Perform(TAction* A) { A->Execute(); }
inline void Push(TWindow* W) { W->Activated(); }

// Writes down the designer's modified and selection notifications.
struct TRecordingSink : TDesignSink {
  std::vector<String> Events;
  void ItemsModified(TDesigner* D) override {
    Events.push_back("modified " + D->GetRoot()->Name());
  }
  void SelectionChanged(TDesigner*, const std::vector<TPersistent*>& S) override {
    Events.push_back("selection " + std::to_string(S.size()));
  }
};

class ColumnsEditorTest : public ::testing::Test {
 protected:
  TTempFolder Folder;
  TIde Ide;
  TDesigner* D = nullptr;
  TOmDBGrid* Grid = nullptr;

  void SetUp() override {
    SetSettingsStoreFile(Folder / "settings.db");
    Ide.Packages().Load(String(OM_BIN_DIR) + "/DCLOmbrix" + IntToStr(OM_HOST_RELEASE) + "0.so");
    D = Ide.NewForm(TForm::StaticClass(), "Form1");
    Grid = NewGrid("OmDBGrid1");
  }
  void TearDown() override { SetSettingsStoreFile(""); }

  TOmDBGrid* NewGrid(const String& Name) {
    auto* G = static_cast<TOmDBGrid*>(
        D->CreateComponent(TOmDBGrid::StaticClass(), D->GetRoot(), 0, 0, 200, 100));
    G->SetName(Name);
    return G;
  }
  void AddColumns(int Count) {
    for (int I = 0; I < Count; ++I) Grid->Columns()->Add()->SetFieldName("F" + IntToStr(I));
  }
  TOmDBGridColumnsEditor* Open(TOmDBGrid* G = nullptr) {
    D->SelectComponent(G ? G : Grid);
    Ide.Inspector().Edit("Columns");
    return Find(G ? G : Grid);
  }
  std::vector<std::unique_ptr<TWindow>> Windows;  // every view handed out stays valid
  static bool IsEditor(TCustomForm* F) {
    return F->ClassName() == String("TOmDBGridColumnsEditor") && !F->Released();
  }
  // The window open for the grid, known by the caption that names it.
  TWindow* Find(TOmDBGrid* G) {
    TWindow* Found = nullptr;
    for (int I = 0; I < Screen->FormCount(); ++I) {
      TCustomForm* F = Screen->Forms(I);
      if (!IsEditor(F) || F->Caption() != "Editing " + G->Name() + ".Columns") continue;
      EXPECT_EQ(Found, nullptr) << "two windows for one grid";
      Windows.push_back(std::make_unique<TWindow>(static_cast<TDesignWindow*>(F)));
      Found = Windows.back().get();
    }
    return Found;
  }
  int WindowCount() {
    int N = 0;
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (IsEditor(Screen->Forms(I))) ++N;
    return N;
  }
  static std::vector<String> Captions(TOmDBGridColumnsEditor* W) {
    std::vector<String> R;
    R.reserve(size_t(W->FormListView->Items()->Count()));
    for (int I = 0; I < W->FormListView->Items()->Count(); ++I)
      R.push_back(W->FormListView->Items()->Item(I)->Caption());
    return R;
  }
  static void SelectRows(TOmDBGridColumnsEditor* W, std::initializer_list<int> Rows) {
    for (int R : Rows) W->FormListView->Items()->Item(R)->SetSelected(true);
  }
  std::vector<TPersistent*> Selection() const { return D->Selection(); }
  String SettingsKey() const {
    return TIde::BaseRegKey() + "\\Property Editors\\Collection Editor";
  }
  TInputQueue& Input() { return Ide.Desktop().Input(); }
  // The IDE's own delete of its selection.
  void DeleteSelected() {
#if OM_HOST_RELEASE == 5
    D->DeleteSelection();
#else
    D->DeleteSelection(false);
#endif
  }
};

}  // namespace
