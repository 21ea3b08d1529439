object F: TForm
  Caption = 'It''s'#13#10'two'#9'lines' + 
    'more'
  Font.Style = [fsBold, fsItalic]
  Tag = -2147483648
  object L: TListBox
    Items.Strings = (
      'a'
      'b')
  end
end
