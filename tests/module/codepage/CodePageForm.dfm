object frmCodePage: TfrmCodePage
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  Caption = '基本选项'
  Hint = '选择工厂'
  Font.Charset = DEFAULT_CHARSET
  Font.Height = -13
  Font.Name = '宋体'
  ShowHint = True
  object lblFactory: TLabel
    Left = 8
    Top = 8
    Caption = '工厂'
    Hint = '选择工厂'
  end
  object edCode: TEdit
    Left = 60
    Top = 8
    Hint = '发货单'
    Text = '发货单'
    TabOrder = 0
  end
  object cboKind: TComboBox
    Left = 60
    Top = 36
    Style = csDropDownList
    Items.Strings = (
      '汇总'
      '明细')
    ItemIndex = 1
    TabOrder = 1
  end
  object cboFree: TComboBox
    Left = 60
    Top = 64
    Items.Strings = (
      '仓库一'
      '仓库二')
    TabOrder = 2
  end
  object lstWarehouse: TListBox
    Left = 60
    Top = 92
    Items.Strings = (
      '仓库一'
      '仓库二')
    TabOrder = 3
  end
  object memNote: TMemo
    Left = 60
    Top = 150
    Lines.Strings = (
      '备注'
      '订单数量')
    TabOrder = 4
  end
  object lvRows: TListView
    Left = 200
    Top = 8
    Width = 180
    Height = 100
    Columns = <
      item
        Caption = '单号'
      end
      item
        Caption = '数量'
      end>
    ViewStyle = vsReport
    TabOrder = 5
  end
  object sbStatus: TStatusBar
    Panels = <
      item
        Text = '就绪'
      end>
  end
  object KvConverter: TCodeConverter
    DesignType = dtClient
  end
  object pmMain: TPopupMenu
    object miOpen: TMenuItem
      Caption = '打开'
    end
  end
end
