object LangTestForm: TLangTestForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  Caption = '语言测试'
  object pnlTop: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    Caption = '面板'
    Color = clBtnFace
  end
  object lblTitle: TLabel
    Left = 8
    Top = 50
    Caption = '标题'
  end
  object cboKind: TComboBox
    Left = 8
    Top = 70
    Style = csDropDownList
    Items.Strings = (
      '明细')
    ItemIndex = 0
  end
  object lvList: TListView
    Left = 8
    Top = 100
    Columns = <
      item
        Caption = '名称'
      end
      item
        Caption = '日期'
      end>
    ViewStyle = vsReport
  end
  object memNotes: TMemo
    Left = 8
    Top = 200
    Lines.Strings = (
      '一')
  end
  object btnOk: TButton
    Left = 200
    Top = 250
    Caption = '确定'
  end
  object btnSkip: TButton
    Left = 300
    Top = 250
    Caption = '跳过'
  end
  object LangController: TKvLangController
    ExcludeControls.Strings = (
      '  BTNSKIP  ')
  end
end
