// Qrexpbld: the report expression builder.
#pragma once

#include "Forms.h"

// The evaluation environment of report expressions (its functions and variables).
class PACKAGE TQREvEnvironment : public TObject {
  OM_CLASS(TQREvEnvironment, TObject)
 public:
  TQREvEnvironment() = default;
};

// Opens the expression builder, a modal dialog showing Description above an edit that
// holds Value, with OK and Cancel. On OK it returns true with Value set to the edited
// expression; on Cancel it returns false and leaves Value alone. Form is the form whose
// datasets the expression may name, Parent the control it is shown over; both, like
// Environment, may be null.
PACKAGE bool GetExpression(const String& Description, String& Value, TCustomForm* Form,
                           TWinControl* Parent, TQREvEnvironment* Environment);
