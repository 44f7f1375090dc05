object TestBaseForm: TTestBaseForm
  Left = 10
  Top = 20
  Width = 400
  Height = 300
  Caption = '基本选项'
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  KeyPreview = True
  OldCreateOrder = False
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  PixelsPerInch = 96
  TextHeight = 12
  object lblUser: TLabel
    Left = 8
    Top = 12
    Width = 30
    Height = 12
    Caption = '用户'#58
    FocusControl = edUser
  end
  object edUser: TEdit
    Left = 60
    Top = 8
    Width = 121
    Height = 20
    MaxLength = 8
    TabOrder = 1
    OnExit = edUserExit
  end
  object edPassword: TEdit
    Left = 60
    Top = 36
    Width = 121
    Height = 20
    PasswordChar = '*'
    TabOrder = 0
  end
  object chkRemember: TCheckBox
    Left = 60
    Top = 64
    Width = 97
    Height = 17
    Caption = 'Remember ' +
      'me'
    TabOrder = 2
  end
  object btnOk: TButton
    Left = 220
    Top = 240
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 3
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 300
    Top = 240
    Width = 75
    Height = 25
    Cancel = True
    Caption = #21462#28040
    ModalResult = mrCancel
    TabOrder = 4
  end
  object muFile: TPopupMenu
    Left = 8
    Top = 240
    object miOpen: TMenuItem
      Caption = '&Open'
      ShortCut = 16463
      OnClick = miOpenClick
    end
  end
end
