// OmQRGrids: the report grid, which prints a data grid's rows as a report.
#pragma once

#include "OmDBGrids.h"

// The 12 options of a report; a preview adds the one of ordinal 7.
enum TOmReportOption {
  roPrintTitle, roPrintHeader, roPrintFooter, roPrintGrid, roPrintTotals, roPrintPageNumbers,
  roPrintDate, roPreviewMode, roFitToPage, roRepeatTitles, roColorPrint, roLandscape
};
OM_ENUM_TYPE(TOmReportOption)
OM_SET_TYPE(TOmReportOptions, TOmReportOption)
enum TOmReportPart { rpAll, rpSelection, rpCurrentPage };
OM_ENUM_TYPE(TOmReportPart)
enum TOmReportStyle { rsList, rsTable, rsCards };
OM_ENUM_TYPE(TOmReportStyle)

OM_EVENT_TYPE(TOmReportEvent, TObject*, int)

// The three captions of a report's title line.
class PACKAGE TOmReportText : public TPersistent {
  OM_CLASS(TOmReportText, TPersistent)
 public:
  explicit TOmReportText(TPersistent* Owner) : FOwner(Owner) {}
  void Assign(TPersistent* Source) override;
  String LeftCaption, CenterCaption, RightCaption;

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// The bands of a report: grouping and the lines between groups.
class PACKAGE TOmReportBands : public TPersistent {
  OM_CLASS(TOmReportBands, TPersistent)
 public:
  explicit TOmReportBands(TPersistent* Owner) : FOwner(Owner) {}
  void Assign(TPersistent* Source) override;
  String GroupExpression;
  bool GroupHeader = true, GroupFooter = false, NewPageOnGroup = false;

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class PACKAGE TOmPrinterSettings : public TPersistent {
  OM_CLASS(TOmPrinterSettings, TPersistent)
 public:
  explicit TOmPrinterSettings(TPersistent* Owner) : FOwner(Owner) {}
  void Assign(TPersistent* Source) override;
  int Copies = 1, FirstPage = 0, LastPage = 0;
  String PrinterName;

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class PACKAGE TOmQRGrid : public TComponent {
  OM_CLASS(TOmQRGrid, TComponent)
 public:
  explicit TOmQRGrid(TComponent* AOwner);
  ~TOmQRGrid() override;

  // The grid whose columns and rows the report prints.
  TOmCustomDBGrid* ReportDBGrid() const noexcept { return FReportDBGrid; }
  void SetReportDBGrid(TOmCustomDBGrid* Value);
  TOmReportOptions Options() const noexcept { return FOptions; }
  void SetOptions(TOmReportOptions Value) { FOptions = Value; }
  TOmReportBands* ReportBands() const noexcept { return FReportBands; }
  void SetReportBands(TOmReportBands* Value) { FReportBands->Assign(Value); }
  TOmReportText* ReportTitle() const noexcept { return FReportTitle; }
  void SetReportTitle(TOmReportText* Value) { FReportTitle->Assign(Value); }
  TOmPrinterSettings* PrinterSettings() const noexcept { return FPrinterSettings; }
  void SetPrinterSettings(TOmPrinterSettings* Value) { FPrinterSettings->Assign(Value); }
  TStrings* ReportNames() const noexcept { return FReportNames; }
  void SetReportNames(TStrings* Value) { FReportNames->Assign(Value); }

  // Builds the report and shows it in the preview; shows the finished report; writes
  // a source unit that prints the same report.
  void Preview();
  void ShowReport();
  void SaveReport(const String& FileName);
  // The report as it was last built: one line a row, columns separated by " | ".
  String BuildReport();
  const String& LastReport() const noexcept { return FLastReport; }
  int PreviewCount = 0, ShowCount = 0;

#if OM_HOST_RELEASE == 5
  bool PrepareNeeded = true;
  TNotifyEvent AfterPrepare;
#endif
  bool PrintCurrentRow = false, PrintSelectedRows = false;
  int PrinterPage = 0;
  TAlignment ReportAlign = taLeftJustify;
  TOmReportPart ReportPart = rpAll;
  TOmReportStyle ReportStyle = rsTable;
  TOmReportEvent AfterBandPrint, AfterPagePrint, BeforeBandPrint, BeforePagePrint;
  TNotifyEvent AfterPreview, AfterPrint, BeforePrint, OnPrint, OnReportCreate;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TOmCustomDBGrid* FReportDBGrid = nullptr;
  TOmReportOptions FOptions{roPrintTitle, roPrintHeader, roPrintGrid};
  TOmReportBands* FReportBands;
  TOmReportText* FReportTitle;
  TOmPrinterSettings* FPrinterSettings;
  TStrings* FReportNames;
  String FLastReport;
};

namespace Omqrgrids {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omqrgrids
