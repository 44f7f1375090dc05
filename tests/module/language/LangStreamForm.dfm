object LangStreamForm: TLangStreamForm
  Caption = '读入'
  object btnOk: TButton
    Caption = '确定'
  end
  object LangController: TKvLangController
    Active = True
    LangPackageName = 'TLangStreamForm'
    DesignType = dtServer
  end
end
