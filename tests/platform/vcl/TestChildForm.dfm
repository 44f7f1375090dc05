inherited TestChildForm: TTestChildForm
  Height = 340
  Caption = 'Child'
  PopupMenu = muFile
  inherited edUser: TEdit
    MaxLength = 10
    Text = 'guest'
  end
  inherited btnOk: TButton
    OnClick = btnOkChildClick
  end
  object grpOptions: TGroupBox
    Left = 8
    Top = 96
    Width = 370
    Height = 130
    Caption = 'Options'
    TabOrder = 5
    object rbDaily: TRadioButton
      Left = 8
      Top = 20
      Width = 113
      Height = 17
      Caption = 'Daily'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object rbWeekly: TRadioButton
      Left = 8
      Top = 40
      Width = 113
      Height = 17
      Caption = 'Weekly'
      TabOrder = 1
    end
    object memNotes: TMemo
      Left = 130
      Top = 20
      Width = 120
      Height = 60
      Lines.Strings = (
        'first'
        'second')
      TabOrder = 3
    end
    object cboKind: TComboBox
      Left = 260
      Top = 20
      Width = 100
      Height = 20
      Style = csDropDownList
      ItemHeight = 12
      ItemIndex = 1
      TabOrder = 2
      Items.Strings = (
        'alpha'
        'beta'
        'gamma')
    end
  end
end
