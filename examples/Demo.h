// The demo form's class, as the developer's source declares it.
#ifndef DemoH
#define DemoH

#include <Classes.hpp>
#include <Forms.hpp>
#include <DB.hpp>
#include "OmDBGrids.hpp"
#include "OmDBLists.hpp"
#include "OmQRGrids.hpp"

class TDemoForm : public TForm
{
__published:
  TOmDBGrid *OrdersGrid;
  TDataSource *OrdersSource;
  TSQLiteDataSet *Orders;
  TOmQRGrid *OrdersReport;
  TOmDBColumnsDialog *OrdersColumnsDialog;
public:
  __fastcall TDemoForm(TComponent* Owner);
};

extern PACKAGE TDemoForm *DemoForm;

#endif
