#include "host/HelmManager.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/UIDriver.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

std::string ArgumentsText(std::span<const Variant> args) {
  std::string text;
  for (const Variant& a : args) text += (text.empty() ? "" : ", ") + VarToLiteral(a);
  return text;
}

Variant Element(const Variant& array, int index) {
  if (!VarIsArray(array) || VarArrayDimCount(array) != 1 || index < VarArrayLowBound(array, 1) ||
      index > VarArrayHighBound(array, 1))
    return Variant();
  return array.GetElement({index});
}

// Forms are freed through Free, so their destroy handlers find them whole.
struct TFreeForm {
  void operator()(TComponent* form) const { form->Free(); }
};
using TPickFormPtr = std::unique_ptr<THelmPickForm, TFreeForm>;

Variant RowVariant(const THelmMasterRow& row) {
  std::vector<Variant> columns(row.Columns.begin(), row.Columns.end());
  return VarArrayOf(columns);
}

bool KeysMatch(const THelmMasterRow& row, const Variant& keys) {
  std::vector<AnsiString> wanted;
  if (VarIsArray(keys)) {
    if (VarArrayDimCount(keys) != 1) return false;
    for (int i = VarArrayLowBound(keys, 1); i <= VarArrayHighBound(keys, 1); ++i)
      wanted.push_back(Trim(VarToStr(keys.GetElement({i}))));
  } else {
    wanted.push_back(Trim(VarToStr(keys)));
  }
  return std::equal(row.Keys.begin(), row.Keys.end(), wanted.begin(), wanted.end(),
                    [](const AnsiString& a, const AnsiString& b) { return SameText(a, b); });
}

// A service object of the host: records every call before answering it.
class THelmService : public TAutoObject {
public:
  THelmService(AnsiString objectName, std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal)
      : Fixture(std::move(fixture)), FObjectName(std::move(objectName)), FJournal(std::move(journal)) {}

  Variant Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) override {
    FJournal->push_back({FObjectName, name, kind, ArgumentsText(args)});
    return TAutoObject::Invoke(name, kind, args);
  }

protected:
  const std::vector<THelmMasterRow>* MasterRows(const AnsiString& table, const AnsiString& query) const {
    const auto it = Fixture->MasterData.find(UpperCase(Trim(table)) + ";" + UpperCase(Trim(query)));
    return it == Fixture->MasterData.end() ? nullptr : &it->second;
  }

  std::shared_ptr<const THelmFixture> Fixture;

private:
  AnsiString FObjectName;
  std::shared_ptr<THelmJournal> FJournal;
};

class THelmCounter : public THelmService {
public:
  THelmCounter(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal)
      : THelmService("Counter", std::move(fixture), std::move(journal)) {
    RegisterMethod("GetSysInfo", [this](std::span<Variant> args) { return GetSysInfo(args[0]); }, 1);
    RegisterMethod("GetCounter", [](std::span<Variant> args) -> Variant {
      throw EOleException("Counter function " + VarToStr(args[0]) + " is not available");
    }, 3);
  }

private:
  Variant GetSysInfo(const Variant& company) const {
    const auto it = Fixture->SysInfo.find(UpperCase(Trim(VarToStr(company))));
    if (it == Fixture->SysInfo.end()) throw EOleException("Company " + VarToStr(company) + " does not exist");
    const auto& settings = it->second;
    const int last = static_cast<int>(settings.size()) - 1;
    Variant table = VarArrayCreate({0, 1, 0, std::max(last, 0)}, varVariant);
    for (int i = 0; i <= last; ++i) {
      table.PutElement({0, i}, Variant(settings[i].first));
      table.PutElement({1, i}, Variant(settings[i].second));
    }
    return table;
  }
};

class THelmValidator : public THelmService {
public:
  THelmValidator(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal)
      : THelmService("Validator", std::move(fixture), std::move(journal)) {
    RegisterProperty("ProductID", [this](std::span<Variant>) { return Variant(ProductID); },
                     [this](std::span<Variant>, const Variant& v) { ProductID = v.AsInteger(); });
    RegisterProperty("BaseLimited", [this](std::span<Variant>) { return Variant(BaseLimited); },
                     [this](std::span<Variant>, const Variant& v) { BaseLimited = VarToWideStr(v); });
    RegisterMethod("QueryData", [this](std::span<Variant> args) { return Find(args); }, 5);
    RegisterMethod("CheckValue", [this](std::span<Variant> args) { return Find(args); }, 5);
  }

  int ProductID = 0;
  WideString BaseLimited;

private:
  // table, query number, database, keys, row (written back): true when found.
  Variant Find(std::span<Variant> args) const {
    const AnsiString database = Trim(VarToStr(args[2]));
    if (!SameText(database, Fixture->DatabaseName)) throw EOleException("Database " + database + " is not open");
    args[4] = Variant();
    const std::vector<THelmMasterRow>* rows = MasterRows(VarToStr(args[0]), VarToStr(args[1]));
    if (!rows) return Variant(false);
    for (const THelmMasterRow& row : *rows)
      if (KeysMatch(row, args[3])) {
        args[4] = RowVariant(row);
        return Variant(true);
      }
    return Variant(false);
  }
};

class THelmLookup : public THelmService {
public:
  THelmLookup(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal)
      : THelmService("Lookup", std::move(fixture), std::move(journal)) {
    RegisterMethod("GetPhrase", [this](std::span<Variant> args) { return GetPhrase(args[0]); }, 3);
    RegisterMethod("F2GetData", [this](std::span<Variant> args) { return F2GetData(args[0]); }, 1);
    RegisterMethod("ShowInputDay", [](std::span<Variant> args) { return ShowInputDay(args[0]); }, 1);
  }

private:
  Variant GetPhrase(const Variant& user) const {
    TPickFormPtr form(CreateComponent<THelmPickForm>(nullptr, "常用词组"));
    if (const auto it = Fixture->Phrases.find(UpperCase(Trim(VarToStr(user)))); it != Fixture->Phrases.end())
      for (const AnsiString& phrase : it->second) form->lstItems->GetItems()->Add(phrase);
    const bool chosen = form->ShowModal() == mrOk && form->lstItems->GetItemIndex() >= 0;
    return Variant(chosen ? form->lstItems->GetItems()->Get(form->lstItems->GetItemIndex()) : AnsiString());
  }

  // The request's table (0), query number (1) and whether several rows may be chosen (3).
  Variant F2GetData(const Variant& request) const {
    const std::vector<THelmMasterRow>* rows =
        MasterRows(VarToStr(Element(request, 0)), VarToStr(Element(request, 1)));
    const bool several = !VarIsEmpty(Element(request, 3)) && Element(request, 3).AsBoolean();
    TPickFormPtr form(CreateComponent<THelmPickForm>(nullptr, "资料查询"));
    form->lstItems->SetMultiSelect(several);
    if (rows)
      for (const THelmMasterRow& row : *rows) {
        AnsiString line;
        for (const AnsiString& c : row.Columns) line += (line.empty() ? "" : "  ") + c;
        form->lstItems->GetItems()->Add(line);
      }
    if (form->ShowModal() != mrOk || !rows) return Variant();
    std::vector<Variant> chosen;
    for (int i = 0; i < static_cast<int>(rows->size()); ++i)
      if (several ? form->lstItems->GetSelected(i) : form->lstItems->GetItemIndex() == i)
        chosen.push_back(RowVariant((*rows)[i]));
    if (chosen.empty()) return Variant();
    return several ? VarArrayOf(chosen) : chosen.front();
  }

  // [era calendar, start date, database]: the date the person confirms.
  static Variant ShowInputDay(const Variant& request) {
    TPickFormPtr form(CreateComponent<THelmPickForm>(nullptr, "日期快手"));
    form->edValue->SetText(VarToStr(Element(request, 1)));
    return Variant(form->ShowModal() == mrOk ? Trim(form->edValue->GetText()) : AnsiString());
  }
};

}  // namespace

// ---- The fixture ------------------------------------------------------------------------

THelmFixture DefaultHelmFixture() {
  THelmFixture f;
  f.UserId = "KVADMIN";
  f.CompanyId = "KVT01";
  f.DatabaseName = "KVTDB01";
  f.SysInfo["KVT01"] = {
      {"Sys001", "1"},        {"Sys002", "/"},        {"KVT002", "凯维特示范公司"},
      {"SYS007", "大类"},      {"SYS008", "中类"},      {"SYS009", "小类"},
      {"SYS010", "品牌"},      {"SYS011", "202401"},   {"SYS026", "1"},
      {"SYS181", "Y"},
  };
  f.Messages = {
      {"E;000001", "%s 不存在!"},
      {"E;000005", "日期格式错误!"},
      {"E;000006", "无法连接应用服务器!"},
      {"E;000013", "工作请求失败: %s"},
      {"E;000030", "无法读取系统条件!"},
      {"E;000036", "窗体与程序代号不符!"},
      {"E;000037", "必要条件未输入!"},
      {"E;000038", "主程序传入的参数不足!"},
      {"I;000004", "工作已放入队列, 请求编号: %s"},
      {"I;000008", "请重新输入"},
      {"W;000004", "%s 不存在, 是否继续?"},
      {"W;000014", "方案中的栏位与本程序不符!"},
      {"E;100013", "调拨日期不能早于关账年月!"},
  };
  // Program master: name, kind, system, owner, record runs, server package, web report,
  // English name.
  f.MasterData["ADMMB;01"] = {
      {{"TAVO61"}, {"调拨建议表", "R", "TAV", "KVT", "Y", "TAVO61S", "Y", "Transfer Suggestion Report"}},
  };
  f.Phrases["KVADMIN"] = {"月底盘点前调拨", "紧急补货"};
  f.FileList["tavo61s.dll"] = "<Modify>20240506103015</Modify><Path>\\\\KVTSERVER\\Package\\TAVO61S.DLL</Path>";
  return f;
}

// ---- The manager ------------------------------------------------------------------------

TAVO_CLASS_IMPL(THelmManager, TAutoObject)

THelmManager::THelmManager(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal)
    : FFixture(std::move(fixture)), FJournal(std::move(journal)) {
  FCounter = Variant(std::make_shared<THelmCounter>(FFixture, FJournal));
  FValidator = Variant(std::make_shared<THelmValidator>(FFixture, FJournal));
  FLookup = Variant(std::make_shared<THelmLookup>(FFixture, FJournal));

  RegisterProperty("VersionType", [this](std::span<Variant>) { return Variant(FFixture->VersionType); });
  RegisterProperty("ProductID", [this](std::span<Variant>) { return Variant(FFixture->ProductID); });
  RegisterProperty("Com_Counter", [this](std::span<Variant>) { return FCounter; });
  RegisterProperty("Com_Validator", [this](std::span<Variant>) { return FValidator; });
  RegisterProperty("Com_F2Window", [this](std::span<Variant>) { return FLookup; });
  RegisterMethod("GetMessage", [this](std::span<Variant> args) {
    const AnsiString code = UpperCase(Trim(VarToStr(args[0]))) + ";" + Trim(VarToStr(args[1]));
    const auto it = FFixture->Messages.find(code);
    return Variant(it != FFixture->Messages.end() ? it->second : "讯息 " + code + " 未定义");
  }, 2);
  // [system code, help code]: the program's help opens at its topic.
  RegisterMethod("CallHelp", [](std::span<Variant> args) {
    const AnsiString system = Trim(VarToStr(Element(args[0], 0)));
    const AnsiString topic = Trim(VarToStr(Element(args[0], 1)));
    if (system.empty()) throw EOleException("No help for an empty system code");
    const AnsiString helpFile = ExtractFilePath(GetModuleFileName(nullptr)) + "Help\\" + system + ".chm";
    if (ShellExecute(0, "open", helpFile, topic, "", SW_SHOWNORMAL) <= 32)
      throw EOleException("Cannot open the help " + helpFile);
    return Variant();
  }, 1);
  // [file name]: the file-list entry of a package file, "" for a file the host does not serve.
  RegisterMethod("GetFileList", [this](std::span<Variant> args) {
    const auto it = FFixture->FileList.find(LowerCase(Trim(VarToStr(Element(args[0], 0)))));
    return Variant(it != FFixture->FileList.end() ? it->second : AnsiString());
  }, 1);
}

Variant THelmManager::Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) {
  FJournal->push_back({"Manager", name, kind, ArgumentsText(args)});
  return TAutoObject::Invoke(name, kind, args);
}

int THelmManager::ValidatorProductID() const {
  return std::static_pointer_cast<THelmValidator>(FValidator.AsDispatch())->ProductID;
}

WideString THelmManager::ValidatorBaseLimited() const {
  return std::static_pointer_cast<THelmValidator>(FValidator.AsDispatch())->BaseLimited;
}

void RegisterHelmManager(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal) {
  RegisterComFactory("HelmWorkCenter.Manager", [fixture, journal]() -> std::shared_ptr<IAutomationObject> {
    return std::make_shared<THelmManager>(fixture, journal);
  });
}

// ---- The pick window --------------------------------------------------------------------

TAVO_CLASS_IMPL(THelmPickForm, TForm)

THelmPickForm::THelmPickForm(TComponent* owner, const AnsiString& caption) : TForm(owner, CreateNew) {
  SetName("HelmPickForm");
  SetCaption(caption);
  SetBounds(0, 0, 360, 300);
  Position = poScreenCenter;
  auto add = [this]<class T>(T*& field, const char* name, int left, int top, int width, int height) {
    field = new T(this);
    field->SetName(name);
    field->SetParent(this);
    field->SetBounds(left, top, width, height);
  };
  add(edValue, "edValue", 8, 8, 336, 21);
  add(lstItems, "lstItems", 8, 36, 336, 184);
  add(btnOk, "btnOk", 188, 232, 75, 25);
  add(btnCancel, "btnCancel", 269, 232, 75, 25);
  edValue->SetTabOrder(0);
  btnOk->SetCaption("确定");
  btnOk->SetDefault(true);
  btnOk->ModalResult = mrOk;
  btnCancel->SetCaption("取消");
  btnCancel->SetCancel(true);
  btnCancel->ModalResult = mrCancel;
}
