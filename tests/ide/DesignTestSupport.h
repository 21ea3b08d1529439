// A fresh IDE per test, and a listener that writes down what designers tell.
#pragma once

#include <gtest/gtest.h>

#include "ComponentEditors.h"
#include "Ide.h"
#include "Inspector.h"
#include "Registries.h"
#include "TestClasses.h"
#if OM_HOST_RELEASE == 5
#include "Dsgnintf.h"
#else
#include "DesignIntf.h"
#endif

struct TRecordingSink : TDesignSink {
  std::vector<String> Events;
  void ItemDeleted(TDesigner*, TPersistent* Item) override { Events.push_back("deleted " + Name(Item)); }
  void ItemInserted(TDesigner*, TPersistent* Item) override { Events.push_back("inserted " + Name(Item)); }
  void ItemsModified(TDesigner* D) override { Events.push_back("modified " + D->GetRoot()->Name()); }
  void SelectionChanged(TDesigner*, const std::vector<TPersistent*>& S) override {
    Events.push_back("selection " + std::to_string(S.size()));
  }
  void DesignerOpened(TDesigner* D) override { Events.push_back("opened " + D->GetRoot()->Name()); }
  void DesignerClosed(TDesigner* D) override { Events.push_back("closed " + D->GetRoot()->Name()); }
  // Only pointer identity: the item may be half destroyed when it is reported.
  std::map<TPersistent*, String> Names;
  String Name(TPersistent* P) { return Names.count(P) ? Names[P] : String("?"); }
};

class DesignTest : public ::testing::Test {
 protected:
  TTestClassesRegistration Registration;
  TIde Ide;
  TDesigner* NewForm() {
    TDesigner* D = Ide.NewForm(TTestForm::StaticClass(), "Form1");
    Root = static_cast<TTestForm*>(D->GetRoot());
    return D;
  }
  TTestButton* AddButton(const String& Name) {
    auto* B = new TTestButton(Root);
    B->SetName(Name);
    return B;
  }
  TTestForm* Root = nullptr;
};
