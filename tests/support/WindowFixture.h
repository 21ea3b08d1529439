// A fresh desktop for each test: its own Application, Screen and input queue.
#pragma once

#include <gtest/gtest.h>

#include "Desktop.h"

class WindowTest : public ::testing::Test {
 protected:
  TDesktop Desktop;
  TInputQueue& Input() { return Desktop.Input(); }
  // A shown, empty window owned by the application.
  TForm* NewForm(const String& Name, int ClientWidth = 300, int ClientHeight = 200) {
    auto* F = new TForm(Application, 0);
    F->SetName(Name);
    F->SetCaption(Name);
    F->SetClientWidth(ClientWidth);
    F->SetClientHeight(ClientHeight);
    return F;
  }
  template <class C>
  C* Add(TWinControl* Parent, const String& Name) {
    auto* X =
        new C(GetParentForm(Parent) ? static_cast<TComponent*>(GetParentForm(Parent)) : Parent);
    X->SetName(Name);
    X->SetParent(Parent);
    return X;
  }
};
