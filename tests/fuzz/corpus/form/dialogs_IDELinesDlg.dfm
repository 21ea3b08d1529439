object OmStringEditor: TOmStringEditor
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'String editor'
  ClientHeight = 277
  ClientWidth = 428
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OldCreateOrder = False
  PopupMenu = PopupMenu
  Position = poScreenCenter
  PixelsPerInch = 96
  object Panel: TPanel
    Left = 8
    Top = 8
    Width = 412
    Height = 228
    BevelInner = bvRaised
    BevelOuter = bvLowered
    TabOrder = 0
    object LinesLabel: TLabel
      Left = 8
      Top = 6
      Width = 40
      Height = 13
      Caption = '0 &Lines'
      FocusControl = Memo
    end
    object RowNoLabel: TLabel
      Left = 300
      Top = 6
      Width = 104
      Height = 13
      Alignment = taRightJustify
      AutoSize = False
      Caption = 'Row No. 0'
      Visible = False
    end
    object Memo: TMemo
      Left = 8
      Top = 22
      Width = 396
      Height = 198
      ScrollBars = ssBoth
      TabOrder = 0
      WordWrap = False
      OnChange = MemoChange
      OnKeyDown = MemoKeyDown
      OnKeyPress = MemoKeyPress
    end
  end
  object PriorButton: TButton
    Left = 8
    Top = 244
    Width = 75
    Height = 25
    Caption = '&Prior Row'
    TabOrder = 1
    Visible = False
    OnClick = PriorClick
  end
  object NextButton: TButton
    Left = 88
    Top = 244
    Width = 75
    Height = 25
    Caption = '&Next Row'
    TabOrder = 2
    Visible = False
    OnClick = NextClick
  end
  object DeleteButton: TButton
    Left = 168
    Top = 244
    Width = 75
    Height = 25
    Caption = '&Delete Row'
    TabOrder = 3
    Visible = False
    OnClick = DeleteClick
  end
  object OKButton: TButton
    Left = 264
    Top = 244
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 4
  end
  object CancelButton: TButton
    Left = 344
    Top = 244
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 5
  end
  object OpenDialog: TOpenDialog
    DefaultExt = 'txt'
    Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist]
    Title = 'Load text'
  end
  object SaveDialog: TSaveDialog
    DefaultExt = 'txt'
    Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist]
    Title = 'Save text'
  end
  object PopupMenu: TPopupMenu
    object LoadMenuItem: TMenuItem
      Caption = '&Load...'
      OnClick = LoadClick
    end
    object SaveMenuItem: TMenuItem
      Caption = '&Save...'
      OnClick = SaveClick
    end
  end
end
