object OMCAboutForm: TOMCAboutForm
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'About'
  ClientHeight = 209
  ClientWidth = 351
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  object Image1: TImage
    Left = 8
    Top = 8
    Width = 32
    Height = 32
    Picture.Data = {
      07544269746D617076020000424D760200000000000076000000280000002000
      0000200000000100040000000000000200000000000000000000100000001000
      000000000000FFFFFF0080808000C0C0C00080000000FF000000000080000000
      FF000080000000FF00000080800000FFFF0080800000FFFF000080008000FF00
      FF00333333333333333333333333333333333333333333333333333333333333
      3333333333333344444444444433333333333333333344555555555555443333
      3333333333445555555555555555443333333333345555555555555555555543
      3333333345555555DDDDDDDD5555555433333334555555DD33333333DD555555
      4333333455555D333333333333D55555433333455555D33333333333333D5555
      54333345555D3333333333333333D55554333345555D3333333333333333D555
      5433345555D333333333333333333D555543345555D333333333333333333D55
      5543345555D333333333333333333D555543345555D333333333333333333D55
      5543345555D333333333333333333D555543345555D333333333333333333D55
      5543345555D333333333333333333D555543345555D333333333333333333D55
      55433345555D3333333333333333D55554333345555D3333333333333333D555
      543333455555D33333333333333D55555433333455555D333333333333D55555
      43333334555555DD33333333DD5555554333333345555555DDDDDDDD55555554
      3333333334555555555555555555554333333333334455555555555555554433
      3333333333334455555555555544333333333333333333444444444444333333
      3333333333333333333333333333333333333333333333333333333333333333
      3333}
    Transparent = True
  end
  object Label0: TLabel
    Left = 45
    Top = 9
    Width = 290
    Height = 33
    AutoSize = False
    Font.Color = clWhite
    Font.Height = -29
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Label1: TLabel
    Left = 44
    Top = 8
    Width = 290
    Height = 33
    AutoSize = False
    Font.Color = clBlack
    Font.Height = -29
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object Label2: TLabel
    Left = 16
    Top = 60
    Width = 320
    Height = 13
    AutoSize = False
  end
  object Label3: TLabel
    Left = 16
    Top = 80
    Width = 320
    Height = 13
    AutoSize = False
  end
  object Label4: TLabel
    Left = 16
    Top = 100
    Width = 320
    Height = 13
    Cursor = crHandPoint
    AutoSize = False
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    OnClick = Label4Click
  end
  object Label5: TLabel
    Left = 16
    Top = 120
    Width = 320
    Height = 13
    Cursor = crHandPoint
    AutoSize = False
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    OnClick = Label5Click
  end
  object Bevel1: TBevel
    Left = 8
    Top = 164
    Width = 335
    Height = 2
    Shape = bsTopLine
  end
  object Bevel2: TBevel
    Left = 8
    Top = 48
    Width = 335
    Height = 2
    Shape = bsTopLine
  end
  object Button: TButton
    Left = 268
    Top = 176
    Width = 75
    Height = 25
    Caption = 'OK'
    ModalResult = 1
    TabOrder = 0
  end
end
