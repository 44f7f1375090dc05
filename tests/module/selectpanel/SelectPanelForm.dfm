object SelectPanelForm: TSelectPanelForm
  Left = 0
  Top = 0
  Width = 600
  Height = 400
  Caption = '条件'
  object spCustomer: TSelectPanel
    Left = 8
    Top = 8
    Width = 353
    Height = 105
    OnStyleChanging = spCustomerStyleChanging
    OnStyleChange = spCustomerStyleChange
    OnTypeClick = spCustomerTypeClick
    OnItemChange = spCustomerItemChange
    Caption = '出货日期'
    Style = sp_UserChoice
    UserChoice = False
    HintWord = '逐笔选择'
    BeginWords.Strings = (
      '从'
      '自')
    FinalWords.Strings = (
      '到'
      '至')
    ChildHints.Strings = (
      '选择方式'
      '起始日期'
      '起始日期开窗'
      '截止日期'
      '截止日期开窗'
      '已选日期'
      '日期开窗'
      '删除一笔'
      '全部删除')
    EditMask = '!99\/99\/0000;1;_'
    ValueType = vt_Date
    DateType = dt_MMDDYYYY
    DateSign = '/'
    CheckDuplicate = cd_CaseInsensitive
    ColumnCaptions.Strings = (
      '日期'
      '说明')
    OnOpenWinClick = spCustomerOpenWinClick
  end
  object edOther: TEdit
    Left = 8
    Top = 300
    Width = 80
    Height = 21
    TabOrder = 1
  end
end
