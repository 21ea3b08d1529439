// OmQRGrids: the report grid, which prints a data grid's rows as a report.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

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

// A report the grid cannot make: a group expression it cannot read or whose field the
// dataset lacks.
OM_EXCEPTION(EOmReportError, Exception)

// The bands a report's lines belong to, as BeforeBandPrint and AfterBandPrint tell them.
enum TOmReportBand { rbTitle, rbColumnHeader, rbGroupHeader, rbDetail, rbGroupFooter, rbSummary, rbPageFooter };

// A report laid out in pages: the whole text in one buffer and where each page begins in
// it, so that a page is a view of the text, never a copy.
class PACKAGE TOmReportPages {
 public:
  int PageCount() const noexcept { return int(FStarts.size()); }
  // The characters a line holds at most, and the lines a page holds at most.
  int PageWidth() const noexcept { return FWidth; }
  int PageLength() const noexcept { return FLength; }
  // Page Index, from 0: its lines, each ended by a line feed. Raises EListError out of range.
  std::string_view Page(int Index) const;
  // The report as it prints: the pages in order, a form feed between two pages.
  const String& Text() const noexcept { return FText; }

 private:
  friend class TOmReportBuilder;
  String FText;
  std::vector<std::size_t> FStarts;
  int FWidth = 0, FLength = 0;
};

// The report of a grid's rows.
//
// Pages. A report is text in pages of a fixed size: 75 characters by 60 lines upright,
// 100 by 45 with roLandscape (a letter page at 10 characters and 6 lines an inch, inside
// half-inch margins). A character is a byte, as in the platform's strings.
//
// Columns. The linked grid's columns that are Visible and Report()->Printed, in their
// order. A column is Report()->PrintWidth pixels wide when that is set, else Width, and
// takes a character for every 8 pixels, rounded, at least 3. Columns wider together than
// the page are cut at its edge: the column that crosses it is cut short and those after it
// are not printed; roFitToPage instead shrinks every column in proportion (to at least a
// character) so that all fit. A cell shows its field's DisplayText, cut to the cell; line
// and page breaks in it (CR, LF, VT, FF) print as spaces, so that a line stays one line.
// Cells are placed by their column's Alignment, except that a left-justified column (the
// default) of a numeric field is right-justified; captions by their title's Alignment.
// Cells are separated by a space; with roPrintGrid by "|", with one at each end too, and
// rule lines ("+---+---+") stand above the column header, below it, above the totals and
// below each page's last row. No line ends in spaces.
//
// Rows. The dataset's records, First to Eof, with its controls disabled meanwhile; the
// record that was current is made current again afterwards, also when the report fails.
// No dataset, or a closed one, gives a report without rows.
//
// Each page, top to bottom:
//  - the title line (roPrintTitle): ReportTitle's LeftCaption at the left edge of the
//    page, CenterCaption centred, RightCaption at the right edge; a caption too long is
//    cut, and where they meet the left one wins over the centre one and that over the
//    right one. On the first page only; on every page with roRepeatTitles.
//  - the column header (roPrintHeader): the columns' title captions, on every page.
//  - the rows, with group headers and footers; after the last row, the totals line
//    (roPrintTotals): each column's Report()->TotalText, and for a numeric field the sum
//    of its values (after the text and a space); empty values count for nothing.
//  - the page footer (roPrintFooter), on the page's last line, the page filled with empty
//    lines down to it: the date (roPrintDate) at the left, "Page N of M"
//    (roPrintPageNumbers) at the right edge. The date is ReportDate, else today's.
//
// Grouping. ReportBands' GroupExpression, unless blank, puts consecutive rows with the same
// value of it in one group. It is one or more terms joined by "+", each a field name (any
// case; a dotted name reaches into object fields) or a text in single quotes (a quote
// doubled within it); its value is the terms' texts joined. Each group begins with a
// header line showing the value (GroupHeader), kept on one page with the group's first
// row, and ends with a footer line "Count: N" of its rows (GroupFooter); NewPageOnGroup
// starts every group after the first on a new page. An expression that cannot be read, or
// that names a field the open dataset lacks, raises EOmReportError naming the expression,
// the position (from 1) and what is wrong, before any row is read.
//
// Events. roPreviewMode, which the design-time editor sets around its preview, means the
// report is run only to be looked at: the window is captioned as a preview and none of
// the program's print events fire. Without it, Preview and ShowReport fire, in order:
//  - BeforePrint(Sender) before the first row is read;
//  - BeforePagePrint(Sender, Page) as a page begins and AfterPagePrint(Sender, Page)
//    once it is laid out, Page counted from 1;
//  - BeforeBandPrint(Sender, Band) and AfterBandPrint(Sender, Band) around the lines of
//    each band, Band a TOmReportBand; around a row's line the dataset is on its record;
//  - OnPrint(Sender) once every page is laid out, before the window shows them;
//  - AfterPrint(Sender) once the window has closed.
// In either mode OnReportCreate(Sender) fires once the window is built, before it shows,
// and AfterPreview(Sender) once the window of Preview has closed. BuildPages and
// SaveReport fire nothing. An exception from a handler ends the report there and goes on to
// the caller; a window already built is freed unshown.
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

  // Each builds the pages and shows them in a modal window, returning once it closes:
  // ShowReport the report as it prints, Preview the same in preview mode when the options
  // say so, and then AfterPreview. Both raise EInvalidOperation without a grid.
  void Preview();
  void ShowReport();
  // Writes a source unit that holds the report's pages and prints them, without any
  // library: a Delphi unit for a `.pas` file, a C++ one for `.cpp`, `.cc` or `.cxx`. The
  // file's name without its extension names the unit (the C++ one's namespace), so it
  // must be an identifier that is no word of the language and none the unit relies on
  // (its own, the runtime's it uses, the C library's it includes). The whole text is made
  // first and saved atomically: a name refused, or a save that fails (a missing folder, a
  // read-only file), raises naming the file and leaves any old file as it was.
  void SaveReport(const String& FileName);
  // The source SaveReport writes to FileName, refusing the same names.
  String ReportSource(const String& FileName);
  // The pages as they print now, built without showing them or firing any event.
  TOmReportPages BuildPages();
  // The pages the last Preview or ShowReport showed; none before the first.
  const TOmReportPages& Pages() const noexcept;
  // The date the page footer prints; empty gives today's, as YYYY-MM-DD.
  String ReportDate;

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
  friend class TOmReportBuilder;
  void CheckGrid() const;
  void Show(bool AsPreview);
  TOmCustomDBGrid* FReportDBGrid = nullptr;
  TOmReportOptions FOptions{roPrintTitle, roPrintHeader, roPrintGrid};
  TOmReportBands* FReportBands;
  TOmReportText* FReportTitle;
  TOmPrinterSettings* FPrinterSettings;
  TStrings* FReportNames;
  // Shared with the window showing them, which keeps its own even if a handler of that
  // window runs the report again.
  std::shared_ptr<const TOmReportPages> FPages;
};

namespace Omqrgrids {
PACKAGE void Initialization();
PACKAGE void Finalization();
extern PACKAGE int InitCount;
}  // namespace Omqrgrids
