object DemoForm: TDemoForm
  Left = 200
  Top = 120
  Caption = 'Orders'
  ClientHeight = 320
  ClientWidth = 560
  object OrdersGrid: TOmDBGrid
    Left = 0
    Top = 0
    Width = 560
    Height = 320
    Align = alClient
    DataSource = OrdersSource
  end
  object OrdersSource: TDataSource
    DataSet = Orders
  end
  object Orders: TSQLiteDataSet
    DatabaseName = 'demo.db'
    TableName = 'orders'
    Active = True
  end
  object OrdersReport: TOmQRGrid
    ReportBands.GroupExpression = 'ShipVia'
    ReportDBGrid = OrdersGrid
    ReportTitle.CenterCaption = 'Orders by carrier'
  end
  object OrdersColumnsDialog: TOmDBColumnsDialog
    DBGrid = OrdersGrid
  end
end
