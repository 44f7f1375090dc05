#include "module/services/LanguageController.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Files.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// ---- Forms of the tests ---------------------------------------------------------------

class TLangTestForm : public TForm {
  TAVO_CLASS(TLangTestForm, TForm)
public:
  using TForm::TForm;

  TPanel* pnlTop = nullptr;
  TLabel* lblTitle = nullptr;
  TComboBox* cboKind = nullptr;
  TListView* lvList = nullptr;
  TMemo* memNotes = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnSkip = nullptr;
  TKvLangController* LangController = nullptr;

  std::vector<std::string> Log;
  void LangBefore(TComponent* component, IXMLDOMNode node) {
    Log.push_back("before:" + component->GetName() + ":" + node.nodeName());
  }
  void LangAfter(TComponent* component, IXMLDOMNode node) {
    Log.push_back("after:" + component->GetName() + ":" + node.nodeName());
  }
};

TAVO_PUBLISHED(TLangTestForm, TForm) {
  P.Field("pnlTop", &TLangTestForm::pnlTop);
  P.Field("lblTitle", &TLangTestForm::lblTitle);
  P.Field("cboKind", &TLangTestForm::cboKind);
  P.Field("lvList", &TLangTestForm::lvList);
  P.Field("memNotes", &TLangTestForm::memNotes);
  P.Field("btnOk", &TLangTestForm::btnOk);
  P.Field("btnSkip", &TLangTestForm::btnSkip);
  P.Field("LangController", &TLangTestForm::LangController);
}

class TLangStreamForm : public TForm {
  TAVO_CLASS(TLangStreamForm, TForm)
public:
  using TForm::TForm;
  TButton* btnOk = nullptr;
  TKvLangController* LangController = nullptr;
};

TAVO_PUBLISHED(TLangStreamForm, TForm) {
  P.Field("btnOk", &TLangStreamForm::btnOk);
  P.Field("LangController", &TLangStreamForm::LangController);
}

namespace {

using TFiles = std::map<std::string, std::string>;
using TLog = std::vector<std::string>;

const std::string ClientLanguages = "drive_c/KVT/Client/MultiLanguage/";
const std::string ServerLanguages = "drive_c/KVT/Server/MultiLanguage/";

// An installation with its client and server folders and the given interface code pages.
TFiles Installation(int acp, const std::string& clientCodePage, const std::string& serverCodePage = "936") {
  return {
      {"platform.ini", "[Platform]\r\nACP=" + std::to_string(acp) + "\r\nUserName=wang\r\n"},
      {"system.reg",
       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KVT\\Steward]\r\n"
       "\"ClientPath\"=\"C:\\\\KVT\\\\Client\\\\\"\r\n\"ServerPath\"=\"C:\\\\KVT\\\\Server\\\\\"\r\n"
       "\"ProfileType\"=\"0\"\r\n"},
      {"drive_c/KVT/Client/StewardC.ini",
       "[CodePage]\r\nUICodePage=" + clientCodePage + "\r\n[Server Information]\r\nComputerName=127.0.0.1\r\n"},
      {"drive_c/KVT/Server/StewardS.ini", "[CodePage]\r\nUICodePage=" + serverCodePage + "\r\n"},
  };
}

TFiles With(TFiles files, const TFiles& more) {
  for (const auto& [path, content] : more) files[path] = content;
  return files;
}

std::string GbLanguageFile(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n" + body;
}

template <class T>
struct TFreeForm {
  void operator()(T* form) const { form->Free(); }
};
template <class T>
using TFormPtr = std::unique_ptr<T, TFreeForm<T>>;

template <class T>
TFormPtr<T> MakeForm() {
  return TFormPtr<T>(CreateComponent<T>(nullptr));
}

// ---- Language folders -----------------------------------------------------------------

struct TFolderCase {
  const char* Label;
  TDesignType Design;
  const char* ClientCodePage;
  const char* ServerCodePage;
  std::vector<std::string> Folders;  // language folders that exist, below the prefix
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TFolderCase& c) { return os << c.Label; }

const std::vector<std::string> AllClientFolders = {ClientLanguages + "CHS", ClientLanguages + "CHT",
                                                   ClientLanguages + "ENG"};

const TFolderCase FolderCases[] = {
    {"Client936", dtClient, "936", "936", AllClientFolders, "C:\\KVT\\Client\\MultiLanguage\\CHS\\"},
    {"Client950", dtClient, "950", "936", AllClientFolders, "C:\\KVT\\Client\\MultiLanguage\\CHT\\"},
    {"Client437", dtClient, "437", "936", AllClientFolders, "C:\\KVT\\Client\\MultiLanguage\\ENG\\"},
    {"Client1252HasNoLanguage", dtClient, "1252", "936", AllClientFolders, ""},
    {"MissingFolder", dtClient, "950", "936", {ClientLanguages + "CHS"}, ""},
    {"FolderNamedInOtherCase", dtClient, "437", "936", {"drive_c/KVT/Client/multilanguage/eng"},
     "C:\\KVT\\Client\\MultiLanguage\\ENG\\"},
    {"ServerUsesItsOwnFolderAndCodePage", dtServer, "936", "950", {ServerLanguages + "CHT"},
     "C:\\KVT\\Server\\MultiLanguage\\CHT\\"},
};

class LanguageFolderTest : public testing::TestWithParam<TFolderCase> {};

TEST_P(LanguageFolderTest, FollowsTheInterfaceCodePage) {
  const TFolderCase& c = GetParam();
  TFiles files = Installation(936, c.ClientCodePage, c.ServerCodePage);
  for (const std::string& folder : c.Folders) files[folder + "/TfrmBaseGene.Lng"] = "<L/>";
  TTempPrefix prefix(files);
  EXPECT_EQ(GetLanguageFolder(c.Design), c.Expected);

  TKvLangController controller(nullptr);
  controller.DesignType = c.Design;
  controller.SetLangPackageName("TfrmBaseGene");
  EXPECT_EQ(controller.GetFileName(), std::string(c.Expected) + "TfrmBaseGene.Lng");
}

INSTANTIATE_TEST_SUITE_P(Language, LanguageFolderTest, testing::ValuesIn(FolderCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(LanguageFolder, NoInstallationGivesNoFolder) {
  TTempPrefix prefix({{"platform.ini", "[Platform]\r\nACP=936\r\n"}});
  EXPECT_EQ(GetLanguageFolder(dtClient), "");
  EXPECT_EQ(LookupMessage(dtClient, "TfrmBaseGene", "sExeVer", "默认"), "默认");
}

// ---- Message lookup -------------------------------------------------------------------

struct TMessageCase {
  const char* Label;
  int Acp;
  const char* CodePage;
  std::string Folder;
  std::string File;  // "" for none
  const char* MsgId;
  const char* Default;
  const char* Expected;
};

std::ostream& operator<<(std::ostream& os, const TMessageCase& c) { return os << c.Label; }

const std::string Chs = ClientLanguages + "CHS/";
const std::string Cht = ClientLanguages + "CHT/";

const TMessageCase MessageCases[] = {
    {"AttributePresent", 936, "936", Chs,
     GbLanguageFile("<TfrmBaseGene><sExeVer Msg=\"[您现在运行的是Exe版本]\"/></TfrmBaseGene>"), "sExeVer", "默认",
     "[您现在运行的是Exe版本]"},
    {"FirstElementAnywhereWins", 936, "936", Chs,
     GbLanguageFile("<R><Group><sExeVer Msg=\"first\"/></Group><sExeVer Msg=\"second\"/></R>"), "sExeVer", "d",
     "first"},
    {"EmptyMessageIsAMessage", 936, "936", Chs, GbLanguageFile("<R><sExeVer Msg=\"\"/></R>"), "sExeVer", "d", ""},
    {"ElementWithoutMsg", 936, "936", Chs, GbLanguageFile("<R><sExeVer Text=\"x\"/></R>"), "sExeVer", "默认",
     "默认"},
    {"ElementMissing", 936, "936", Chs, GbLanguageFile("<R><sOther Msg=\"x\"/></R>"), "sExeVer", "默认", "默认"},
    {"FileMissing", 936, "936", Chs, "", "sExeVer", "默认", "默认"},
    {"MalformedFile", 936, "936", Chs, GbLanguageFile("<R><sExeVer Msg=\"x\"></R>"), "sExeVer", "默认", "默认"},
    {"IdentifierNoPatternCanHold", 936, "936", Chs, GbLanguageFile("<R><a Msg=\"x\"/></R>"), "a b[", "d", "d"},
    // A Traditional Chinese installation: BIG5 file, BIG5 process.
    {"Big5FileOnA950System", 950, "950", Cht,
     "<?xml version=\"1.0\" encoding=\"BIG5\"?><R><sOK Msg=\"\xBD\x54\xA9\x77\"/></R>", "sOK", "\xA8\xFA",
     "\xBD\x54\xA9\x77"},
    {"Big5FileReadByAGbProcess", 936, "950", Cht,
     "<?xml version=\"1.0\" encoding=\"BIG5\"?><R><sOK Msg=\"\xBD\x54\xA9\x77\"/></R>", "sOK", "d", "確定"},
};

class LookupMessageTest : public testing::TestWithParam<TMessageCase> {};

TEST_P(LookupMessageTest, FindsTheMessageOrFallsBack) {
  const TMessageCase& c = GetParam();
  TFiles files = Installation(c.Acp, c.CodePage);
  files[c.Folder + (c.File.empty() ? "TOther.Lng" : "TfrmBaseGene.Lng")] = c.File.empty() ? "<R/>" : c.File;
  TTempPrefix prefix(files);
  EXPECT_EQ(LookupMessage(dtClient, "TfrmBaseGene", c.MsgId, c.Default), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Language, LookupMessageTest, testing::ValuesIn(MessageCases),
                         [](const auto& info) { return std::string(info.param.Label); });

// ---- Opening and closing --------------------------------------------------------------

struct TRecorder {
  TLog Log;
  void BeforeOpen(TObject*) { Log.push_back("BeforeOpen"); }
  void AfterOpen(TObject*) { Log.push_back("AfterOpen"); }
  void BeforeClose(TObject*) { Log.push_back("BeforeClose"); }
  void AfterClose(TObject*) { Log.push_back("AfterClose"); }
};

class ControllerTest : public testing::Test {
protected:
  ControllerTest() {
    Controller.BeforeOpen = TNotifyEvent(&Recorder, &TRecorder::BeforeOpen);
    Controller.AfterOpen = TNotifyEvent(&Recorder, &TRecorder::AfterOpen);
    Controller.BeforeClose = TNotifyEvent(&Recorder, &TRecorder::BeforeClose);
    Controller.AfterClose = TNotifyEvent(&Recorder, &TRecorder::AfterClose);
  }

  TTempPrefix Prefix{With(Installation(936, "936"),
                          {{Chs + "TGood.Lng", GbLanguageFile("<TGood Caption=\"好\"/>")},
                           {Chs + "TBroken.Lng", GbLanguageFile("<TBroken>\r\n<a></b>\r\n</TBroken>")}})};
  TRecorder Recorder;
  TKvLangController Controller{nullptr};
};

TEST_F(ControllerTest, OpensAndClosesWithItsEvents) {
  Controller.SetLangPackageName("TGood");
  EXPECT_FALSE(Controller.GetActive());
  EXPECT_THROW(Controller.GetReader(), LanguageControllerError);
  Controller.SetActive(true);
  EXPECT_TRUE(Controller.GetActive());
  EXPECT_NE(Controller.GetReader(), nullptr);
  Controller.SetActive(true);  // already open
  Controller.SetActive(false);
  EXPECT_FALSE(Controller.GetActive());
  EXPECT_EQ(Recorder.Log, (TLog{"BeforeOpen", "AfterOpen", "BeforeClose", "AfterClose"}));
}

TEST_F(ControllerTest, AnotherFileNameCloses) {
  Controller.SetLangPackageName("TGood");
  Controller.SetActive(true);
  Recorder.Log.clear();
  Controller.SetLangPackageName("TGood");  // no change
  EXPECT_TRUE(Controller.GetActive());
  Controller.SetLangPackageName("TBroken");
  EXPECT_FALSE(Controller.GetActive());
  EXPECT_EQ(Recorder.Log, (TLog{"BeforeClose", "AfterClose"}));
}

TEST_F(ControllerTest, EmptyFileNameCannotOpen) {
  try {
    Controller.SetActive(true);
    FAIL() << "opened without a file name";
  } catch (const LanguageControllerError& e) {
    EXPECT_EQ(e.Message, "Cannot Find File !");
  }
  EXPECT_FALSE(Controller.GetActive());
  EXPECT_EQ(Recorder.Log, (TLog{"BeforeOpen"}));
}

TEST_F(ControllerTest, MissingFileIsNamedInTheError) {
  Controller.SetLangPackageName("TGood");
  Controller.SetActive(true);
  Controller.SetLangPackageName("TNoSuchForm");
  try {
    Controller.SetActive(true);
    FAIL() << "opened a missing file";
  } catch (const LanguageControllerError& e) {
    EXPECT_NE(e.Message.find("C:\\KVT\\Client\\MultiLanguage\\CHS\\TNoSuchForm.Lng"), std::string::npos)
        << e.Message;
  }
  EXPECT_FALSE(Controller.GetActive());
  try {
    Controller.GetReader();
    FAIL() << "a reader while closed";
  } catch (const LanguageControllerError& e) {
    EXPECT_EQ(e.Message, "No active LanguageController!");
  }
}

TEST_F(ControllerTest, MalformedFileGivesTheParserReasonAndStaysClosed) {
  Controller.SetLangPackageName("TBroken");
  try {
    Controller.SetActive(true);
    FAIL() << "opened a malformed file";
  } catch (const LanguageControllerError& e) {
    EXPECT_NE(e.Message.find("a"), std::string::npos);
    EXPECT_NE(e.Message.find("b"), std::string::npos);
  }
  EXPECT_FALSE(Controller.GetActive());
  EXPECT_THROW(Controller.GetReader(), LanguageControllerError);
}

TEST(KvLangController, IsRegisteredWithItsPublishedProperties) {
  ASSERT_EQ(FindClass("TKvLangController"), TKvLangController::StaticClass());
  TLog names;
  for (PPropInfo p : GetPropList(TKvLangController::StaticClass())) names.push_back(p->Name);
  EXPECT_EQ(names, (TLog{"Name", "Tag", "Active", "AfterClose", "AfterOpen", "BeforeClose", "BeforeOpen",
                         "AfterLoadComponent", "BeforeLoadComponent", "ExcludeControls", "LangPackageName",
                         "DesignType"}));
  EXPECT_EQ(GetPropInfo(TKvLangController::StaticClass(), "DesignType")->PropType->Name, "TDesignType");
  EXPECT_EQ(GetPropInfo(TKvLangController::StaticClass(), "AfterLoadComponent")->PropType->Name,
            "TLoadComponentEvent");
}

// ---- Translating a form ---------------------------------------------------------------

const std::string TestFormLanguage = GbLanguageFile(
    "<Anything Caption=\"Language test\" Width=\"abc\" Hint=\"form hint\">\r\n"
    "  <pnlTop Caption=\"Panel\" Color=\"clRed\" Nothing=\"x\" Font.Nothing=\"y\" Font.Name=\"Tahoma\"/>\r\n"
    "  <lblTitle Alignment=\" taRightJustify \" Caption=\"标题二\"/>\r\n"
    "  <cboKind Items_0=\"Detail\" Items_3=\"Fourth\" Items_99999999999=\"huge\" Items_100000=\"big\"/>\r\n"
    "  <lvList Columns_1.Caption=\"Date\" Columns_5.Caption=\"Ghost\" Items_0.Caption=\"First row\""
    " Items_7.Caption=\"none\" Items.Caption=\"x\"/>\r\n"
    "  <memNotes Lines_2=\"three\" Lines_1.Ignored=\"two\"/>\r\n"
    "  <Group><btnOk Caption=\"OK\" Tag=\"7\"/></Group>\r\n"
    "  <btnOk Caption=\"Second OK\"/>\r\n"
    "  <btnSkip Caption=\"Skip\"/>\r\n"
    "  <LangTestForm Hint=\"named\"/>\r\n"
    "</Anything>\r\n");

class TranslateTest : public testing::Test {
protected:
  TranslateTest() {
    Form->lvList->GetItems()->Add()->SetCaption("行一");
    Form->LangController->BeforeLoadComponent = TLoadComponentEvent(Form.get(), &TLangTestForm::LangBefore);
    Form->LangController->AfterLoadComponent = TLoadComponentEvent(Form.get(), &TLangTestForm::LangAfter);
  }

  void Translate() {
    TKvLangController* controller = Form->LangController;
    controller->SetLangPackageName("TLangTestForm");
    ASSERT_TRUE(FileExists(controller->GetFileName()));
    controller->SetActive(true);
    controller->GetReader()->ReadComponent(Form.get());
  }

  TTempPrefix Prefix{With(Installation(936, "936"), {{Chs + "TLangTestForm.Lng", TestFormLanguage}})};
  TFormPtr<TLangTestForm> Form = MakeForm<TLangTestForm>();
};

TEST_F(TranslateTest, DocumentElementAppliesToTheFormThenItsOwnElement) {
  Translate();
  EXPECT_EQ(Form->GetCaption(), "Language test");
  EXPECT_EQ(Form->GetWidth(), 400);  // "abc" skipped, the attributes after it applied
  EXPECT_EQ(Form->Hint, "named");
}

TEST_F(TranslateTest, PropertiesThroughObjectsAndIdentifiers) {
  Translate();
  EXPECT_EQ(Form->pnlTop->GetCaption(), "Panel");
  EXPECT_EQ(Form->pnlTop->GetColor(), clRed);
  EXPECT_EQ(Form->pnlTop->GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(Form->lblTitle->GetAlignment(), taRightJustify);
  EXPECT_EQ(Form->lblTitle->GetCaption(), "标题二");
}

TEST_F(TranslateTest, StringListLinesArePaddedAndTheSelectionKept) {
  Translate();
  TStrings* items = Form->cboKind->GetItems();
  ASSERT_EQ(items->Count(), 4);
  EXPECT_EQ(items->Get(0), "Detail");
  EXPECT_EQ(items->Get(1), "");
  EXPECT_EQ(items->Get(2), "");
  EXPECT_EQ(items->Get(3), "Fourth");
  EXPECT_EQ(Form->cboKind->GetItemIndex(), 0);
  EXPECT_EQ(Form->cboKind->GetText(), "Detail");
  // An indexed segment other than Items or Columns ends the path.
  TStrings* lines = Form->memNotes->GetLines();
  ASSERT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Get(0), "一");
  EXPECT_EQ(lines->Get(1), "two");
  EXPECT_EQ(lines->Get(2), "three");
}

TEST_F(TranslateTest, ListViewColumnsAndItemsByIndex) {
  Translate();
  TListColumns* columns = Form->lvList->GetColumns();
  ASSERT_EQ(columns->Count(), 2);  // Columns_5 names no column
  EXPECT_EQ(columns->GetItem(0)->GetCaption(), "名称");
  EXPECT_EQ(columns->GetItem(1)->GetCaption(), "Date");
  ASSERT_EQ(Form->lvList->GetItems()->Count(), 1);
  EXPECT_EQ(Form->lvList->GetItems()->GetItem(0)->GetCaption(), "First row");
}

TEST_F(TranslateTest, FirstElementOfTheNameAndExcludedComponents) {
  Translate();
  EXPECT_EQ(Form->btnOk->GetCaption(), "OK");
  EXPECT_EQ(Form->btnOk->Tag, 7);
  EXPECT_EQ(Form->btnSkip->GetCaption(), "跳过");  // excluded as "  BTNSKIP  "
}

TEST_F(TranslateTest, LoadComponentEventsSurroundEachElement) {
  Translate();
  EXPECT_EQ(Form->Log, (TLog{"before:LangTestForm:Anything", "after:LangTestForm:Anything",
                             "before:LangTestForm:LangTestForm", "after:LangTestForm:LangTestForm",
                             "before:pnlTop:pnlTop", "after:pnlTop:pnlTop", "before:lblTitle:lblTitle",
                             "after:lblTitle:lblTitle", "before:cboKind:cboKind", "after:cboKind:cboKind",
                             "before:lvList:lvList", "after:lvList:lvList", "before:memNotes:memNotes",
                             "after:memNotes:memNotes", "before:btnOk:btnOk", "after:btnOk:btnOk"}));
}

TEST_F(TranslateTest, ExclusionsFollowChangesWhileOpen) {
  TKvLangController* controller = Form->LangController;
  controller->SetLangPackageName("TLangTestForm");
  controller->SetActive(true);
  controller->GetExcludeControls()->Add(" btnok");
  controller->GetReader()->ReadComponent(Form.get());
  EXPECT_EQ(Form->btnOk->GetCaption(), "确定");
  EXPECT_EQ(Form->btnSkip->GetCaption(), "跳过");
  controller->SetExcludeControls(nullptr);
  controller->GetReader()->ReadComponent(Form.get());
  EXPECT_EQ(Form->btnOk->GetCaption(), "OK");
  EXPECT_EQ(Form->btnSkip->GetCaption(), "Skip");
}

TEST_F(TranslateTest, AComboBoxWithoutSelectionKeepsNone) {
  Form->cboKind->SetItemIndex(-1);
  Translate();
  EXPECT_EQ(Form->cboKind->GetItemIndex(), -1);
  EXPECT_EQ(Form->cboKind->GetItems()->Count(), 4);
}

TEST(StreamedController, OpensWhenTheFormIsLoadedWithItsStoredDesignType) {
  TTempPrefix prefix(With(Installation(936, "936", "950"),
                          {{ServerLanguages + "CHT/TLangStreamForm.Lng", "<Root Caption=\"Read\"/>"},
                           {Chs + "TLangStreamForm.Lng", "<Root Caption=\"Client\"/>"}}));
  TFormPtr<TLangStreamForm> form = MakeForm<TLangStreamForm>();
  TKvLangController* controller = form->LangController;
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(controller->DesignType, dtServer);
  EXPECT_EQ(controller->GetFileName(), "C:\\KVT\\Server\\MultiLanguage\\CHT\\TLangStreamForm.Lng");
  ASSERT_TRUE(controller->GetActive());
  controller->GetReader()->ReadComponent(form.get());
  EXPECT_EQ(form->GetCaption(), "Read");
}

// ---- The demonstration installation's language files ---------------------------------

struct TDemoCase {
  const char* Folder;
  const char* CodePage;
  const char* ProjectName;  // sProjectName as a process of code page 936 reads it
  const char* TabCaption;   // tsOption1
};

std::ostream& operator<<(std::ostream& os, const TDemoCase& c) { return os << c.Folder; }

const TDemoCase DemoCases[] = {
    {"CHS", "936", "方案名称", "基本选项"},
    {"CHT", "950", "方案名稱", "基本選項"},
    {"ENG", "437", "Scheme Name", "Basic Options"},
};

class DemoLanguageTest : public testing::TestWithParam<TDemoCase> {};

TEST_P(DemoLanguageTest, FilesReadInTheirOwnEncoding) {
  const TDemoCase& c = GetParam();
  TFiles files = Installation(936, c.CodePage);
  for (const char* name : {"TfrmBaseGene.Lng", "TKVForm.Lng"}) {
    std::ifstream in(std::string(TAVO_DEMO_PREFIX) + "/" + ClientLanguages + c.Folder + "/" + name,
                     std::ios::binary);
    ASSERT_TRUE(in) << c.Folder << "/" << name;
    files[ClientLanguages + c.Folder + "/" + name] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  TTempPrefix prefix(files);
  EXPECT_EQ(LookupMessage(dtClient, "TfrmBaseGene", "sProjectName", "?"), c.ProjectName);
  IXMLDOMDocument doc = CoDOMDocument::Create();
  ASSERT_TRUE(doc.load(GetLanguageFolder(dtClient) + "TfrmBaseGene.Lng")) << doc.parseError().reason;
  EXPECT_EQ(VarToStr(IXMLDOMElement(doc.selectSingleNode("//tsOption1")).getAttribute("Caption")), c.TabCaption);
  ASSERT_TRUE(doc.load(GetLanguageFolder(dtClient) + "TKVForm.Lng")) << doc.parseError().reason;
  EXPECT_EQ(doc.documentElement().nodeName(), "TKVForm");
}

INSTANTIATE_TEST_SUITE_P(Language, DemoLanguageTest, testing::ValuesIn(DemoCases),
                         [](const auto& info) { return std::string(info.param.Folder); });

TEST(SetPropertyByPath, SkipsWhatDoesNotFit) {
  TTempPrefix prefix(Installation(936, "936"));
  TPanel panel(nullptr);
  SetPropertyByPath(&panel, "Font.Color", "clBlue");
  SetPropertyByPath(&panel, "Width", " 120 ");
  SetPropertyByPath(&panel, "Alignment", "taNowhere");
  SetPropertyByPath(&panel, "Font", "Tahoma");
  SetPropertyByPath(&panel, "Font.Style", " [fsBold] ");
  SetPropertyByPath(&panel, "Nothing.At.All", "x");
  SetPropertyByPath(nullptr, "Caption", "x");
  EXPECT_EQ(panel.GetFont()->GetColor(), clBlue);
  EXPECT_EQ(panel.GetWidth(), 120);
  EXPECT_EQ(panel.GetAlignment(), taCenter);
  EXPECT_TRUE(panel.GetFont()->GetStyle().Contains(fsBold));
}

}  // namespace
