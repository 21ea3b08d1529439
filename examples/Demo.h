// The demo form's class, as the developer's source declares it.
#ifndef DemoH
#define DemoH

#include <Classes.hpp>
#include <Forms.hpp>
#include <DB.hpp>
#include <DBClient.hpp>
#include "OmDBGrids.hpp"
#include "OmDBLists.hpp"
#include "OmQRGrids.hpp"

class TDemoForm : public TForm
{
__published:
  TOmDBGrid *OrdersGrid;
  TOmDBGrid *ItemsGrid;
  TOmDBGrid *ContactsGrid;
  TDataSource *OrdersSource;
  TSQLiteDataSet *Orders;
  TDataSource *ItemsSource;
  TSQLiteDataSet *Items;
  TDataSource *ContactsSource;
  TClientDataSet *Contacts;
  TOmQRGrid *OrdersReport;
  TOmDBColumnsDialog *OrdersColumnsDialog;
  TImageList *TitleImageList;
  TImageList *IndicatorImageList;
  TImageList *MarkerImageList;
public:
  __fastcall TDemoForm(TComponent* Owner);
};

extern PACKAGE TDemoForm *DemoForm;

#endif
