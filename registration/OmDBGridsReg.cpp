#include "OmDBGridsReg.h"

#include <vector>

#include "IDEAboutDlg.h"
#include "IDEGridsDlg.h"
#include "IDELinesDlg.h"
#include "OmReg.h"

namespace {

// What the developer reads of this unit.
using Omreg::AboutVerb, Omreg::PalettePage, Omreg::SeparatorVerb;
const char* const ColumnsEditorVerb = "Co&lumns Editor...";

// The grid editor's verbs, by index.
enum TGridVerb { gvAbout, gvSeparator, gvColumnsEditor, gvCount };

}  // namespace

#if OM_HOST_RELEASE == 5
OM_IMPLEMENT_CLASS(TOmDBGridCategory, "OmDBGridsReg");
String TOmDBGridCategory::Name() { return "OmDBGrid"; }
OM_IMPLEMENT_CLASS(TImageCategory, "OmDBGridsReg");
String TImageCategory::Name() { return "Image"; }
#endif

OM_IMPLEMENT_CLASS(TOmDBGridEditor, "OmDBGridsReg");

void TOmDBGridEditor::ExecuteVerb(int Index) {
  switch (Index) {
    case gvAbout: About(); break;
    case gvColumnsEditor: Edit(); break;
    default: break;
  }
}

String TOmDBGridEditor::GetVerb(int Index) {
  switch (Index) {
    case gvAbout: return AboutVerb;
    case gvSeparator: return SeparatorVerb;
    case gvColumnsEditor: return ColumnsEditorVerb;
    default: return "";
  }
}

int TOmDBGridEditor::GetVerbCount() { return gvCount; }

// Only Columns is edited, and the walk stops there: a double-click on a grid never
// creates an event handler.
#if OM_HOST_RELEASE == 5
void TOmDBGridEditor::EditProperty(TPropertyEditor* PropertyEditor, bool& Continue, bool&) {
  if (SameText(PropertyEditor->GetName(), "Columns")) {
    PropertyEditor->Edit();
    Continue = false;
  }
}
#else
void TOmDBGridEditor::EditProperty(const _di_IProperty& Prop, bool& Continue) {
  if (SameText(Prop->GetName(), "Columns")) {
    Prop->Edit();
    Continue = false;
  }
}
#endif

void TOmDBGridEditor::About() { ShowAboutForm(); }

namespace Omdbgridsreg {

int InitCount = 0;
void Initialization() {}
void Finalization() {}

const std::vector<TOmEditorBinding>& EditorBindings() {
  static const PTypeInfo StringType = TypeInfo<String>();
  static const PTypeInfo IntegerType = TypeInfo<int>();
  static const TClass Grid = TOmDBGrid::StaticClass(), Column = TOmColumn::StaticClass(),
                      Title = TOmColumnTitle::StaticClass();
  static const TPropertyEditorClass MasterGridEditor = TOmDBGridMasterGridProperty::StaticClass(),
                                    FieldNameEditor = TOmDBGridFieldNameProperty::StaticClass(),
                                    ImageIndexEditor = TOmDBGridImageIndexProperty::StaticClass(),
                                    StringEditor = TOmStringProperty::StaticClass(),
                                    HeaderEditor = TOmHeaderProperty::StaticClass();
  static const std::vector<TOmEditorBinding> Bindings = {
      {TypeInfo<TOmDBGridColumns*>(), Grid, "Columns", TOmDBGridColumnsProperty::StaticClass()},
      {TypeInfo<TOmCustomDBGrid*>(), Grid, "MasterGrid", MasterGridEditor},
      {StringType, Column, "FieldName", FieldNameEditor},
      {IntegerType, Grid, "FillerIndex", ImageIndexEditor},
      {IntegerType, Title, "ImageIndex", ImageIndexEditor},
      {IntegerType, Title, "MarkerIndex", ImageIndexEditor},
      {StringType, Grid, "Hint", StringEditor},
      {StringType, Grid, "FillerHint", StringEditor},
      {StringType, Grid, "IndicatorHint", StringEditor},
      {StringType, Column, "EditorHint", StringEditor},
      {StringType, Column, "Hint", StringEditor},
      {StringType, Title, "Hint", StringEditor},
      {StringType, Title, "Caption", StringEditor},
      {StringType, Title, "Header", HeaderEditor},
      {StringType, Title, "HeaderHint", HeaderEditor},
  };
  return Bindings;
}

void Register() {
  RegisterComponents(PalettePage, {TOmDBGrid::StaticClass()});
  RegisterComponentEditor(TOmDBGrid::StaticClass(), TOmDBGridEditor::StaticClass());

  for (const TOmEditorBinding& B : EditorBindings())
    if (B.EditorClass)
      RegisterPropertyEditor(B.PropertyType, B.ComponentClass, B.PropertyName, B.EditorClass);

  TClass Column = TOmColumn::StaticClass();
  TClass Grid = TOmCustomDBGrid::StaticClass();
  RegisterPropertiesInCategory(OM_CATEGORY(TDatabaseCategory, "Database"), Column, {"FieldName"});
  RegisterPropertiesInCategory(OM_CATEGORY(THelpCategory, "Help and Hints"), Column, {"ToolTips", "ToolTipsWidth"});
  RegisterPropertiesInCategory(OM_CATEGORY(TImageCategory, "Image"), Column,
                               {"Alignment", "CheckBox", "CheckBoxToggle", "CheckBoxValues", "ImageDraw",
                                "ImageOffsetX", "ImageOffsetY", "Images", "QuickDraw", "Transparent",
                                "TransparentColor", "VAlignment", "Wallpaper"});
  RegisterPropertiesInCategory(OM_CATEGORY(TInputCategory, "Input"), Column, {"ShowEdit"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLayoutCategory, "Layout"), Column, {"WidthBase", "WidthMax", "WidthMin"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLocalizableCategory, "Localizable"), Column,
                               {"EditorHint", "PickList", "PickText", "Title"});
  RegisterPropertiesInCategory(OM_CATEGORY(TVisualCategory, "Visual"), Column,
                               {"Ellipsis", "ShowBlob", "VAlignment", "WidthBase", "WordWrap"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmDBGridCategory, "OmDBGrid"), Column,
                               {"CheckBox", "CheckBoxToggle", "CheckBoxValues", "EditorHint", "Ellipsis", "Hint",
                                "ImageDraw", "ImageOffsetX", "ImageOffsetY", "Images", "ListOptions", "PickOptions",
                                "PickText", "QuickDraw", "Report", "ShowBlob", "ShowEdit", "ToolTips",
                                "ToolTipsWidth", "Transparent", "TransparentColor", "VAlignment", "Wallpaper",
                                "WidthBase", "WidthMax", "WidthMin", "WordWrap"});
  RegisterPropertiesInCategory(OM_CATEGORY(TActionCategory, "Action"), Grid, {"StretchMode"});
  RegisterPropertiesInCategory(OM_CATEGORY(TDatabaseCategory, "Database"), Grid,
                               {"Columns", "OrderFields", "OnOrderChanged"});
  RegisterPropertiesInCategory(OM_CATEGORY(TImageCategory, "Image"), Grid,
                               {"FillerIndex", "IndicatorImages", "TitleImages", "TitleMarkers", "OnCalcImageIndex"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLayoutCategory, "Layout"), Grid,
                               {"GridStyle", "HeaderLinesCount", "IndicatorWidth", "LinesCount", "LinesCountMax",
                                "LinesCountMin", "StretchWidthMax", "StretchWidthMin", "TitleLinesCount"});
  RegisterPropertiesInCategory(OM_CATEGORY(TLocalizableCategory, "Localizable"), Grid, {"FillerHint"});
  RegisterPropertiesInCategory(OM_CATEGORY(TVisualCategory, "Visual"), Grid,
                               {"FillerColor", "FixedCols", "FixedStyle", "FixedTheme", "HeaderLinesCount",
                                "LinesCount", "ScrollBars", "StretchMode", "TitleLinesCount"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmDBGridCategory, "OmDBGrid"), Grid,
                               {"DragRows", "FillerButton", "FillerColor", "FillerHint", "FillerIndex",
                                "FillerPopupMenu", "FixedCols", "FixedStyle", "FixedTheme", "GridStyle", "HeaderColor",
                                "HeaderFont", "HeaderLinesCount", "HintOptions", "IndicatorHint", "IndicatorImages",
                                "IndicatorPopupMenu", "IndicatorWidth", "LinesCount", "LinesCountMax", "LinesCountMin",
                                "MasterGrid", "OrderFields", "ScrollBars", "StretchMode", "StretchWidthMax",
                                "StretchWidthMin", "TitleImages", "TitleLinesCount", "TitleMarkers"});
  RegisterPropertiesInCategory(OM_CATEGORY(TOmDBGridCategory, "OmDBGrid"), Grid,
                               {"OnCalcImageIndex", "OnCellHint", "OnColExpand", "OnColGetText", "OnColSetText",
                                "OnColumnMoving", "OnColumnResize", "OnColumnScroll", "OnFillerClick",
                                "OnHeaderClick", "OnOrderChanged", "OnPaintColumnCell", "OnRowResize", "OnRowSelect"});
}

}  // namespace Omdbgridsreg
