object ResourceForm: TResourceForm
  Caption = 'From the module'
  ClientWidth = 272
  object OkButton: TTestButton
    Caption = 'OK'
    OnClick = ButtonClick
  end
end
