// The demo form's class, as the developer's source declares it.
#ifndef DemoH
#define DemoH

#include <Classes.hpp>
#include <Forms.hpp>
#include <DB.hpp>
#include "OmDBGrids.hpp"

class TDemoForm : public TForm
{
__published:
  TOmDBGrid *OrdersGrid;
  TDataSource *OrdersSource;
  TSQLiteDataSet *Orders;
public:
  __fastcall TDemoForm(TComponent* Owner);
};

extern PACKAGE TDemoForm *DemoForm;

#endif
