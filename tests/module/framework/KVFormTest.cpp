#include "module/framework/KVForm.h"

#include "KVFormFixture.h"
#include "module/controls/F2Button.h"
#include "module/controls/GSpdBtn.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

using namespace kvform;

// ---- Forms of the family ----------------------------------------------------------------

class TfrmLangBase : public TKVForm {
  TAVO_CLASS(TfrmLangBase, TKVForm)
public:
  explicit TfrmLangBase(TComponent* AOwner) : TKVForm(AOwner) {
    lblName = new TLabel(this);
    lblName->SetName("lblName");
    lblName->SetParent(this);
    lblName->SetCaption("工厂");
    edName = new TEdit(this);
    edName->SetName("edName");
    edName->SetParent(this);
    edName->ImeName = "Chinese (Simplified) - Microsoft Pinyin";
  }
  TLabel* lblName;
  TEdit* edName;
};

class TfrmLangChild : public TfrmLangBase {
  TAVO_CLASS(TfrmLangChild, TfrmLangBase)
public:
  explicit TfrmLangChild(TComponent* AOwner) : TfrmLangBase(AOwner) {}
};

// A control carrying two buttons of its own, as the edit with a lookup button does.
class TButtonCarrier : public TPanel, public IEmbeddedButtons {
  TAVO_CLASS(TButtonCarrier, TPanel)
public:
  explicit TButtonCarrier(TComponent* AOwner) : TPanel(AOwner) {
    for (TGSpeedButton*& b : Buttons) {
      b = new TGSpeedButton(this);
      b->SetParent(this);
      b->SetGlyphIndex(47);
    }
  }
  std::vector<TSpeedButton*> EmbeddedButtons() const override { return {Buttons[0], Buttons[1]}; }
  TGSpeedButton* Buttons[2];
};

// A one-image picture: a dark square on the bottom-left pixel's colour.
void PaintOneImage(TBitmap* glyph, int width) {
  glyph->SetSize(width, 16);
  TCanvas* c = glyph->GetCanvas();
  c->GetBrush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, width, 16));
  c->GetBrush()->SetColor(clNavy);
  c->FillRect(Rect(4, 4, 12, 12));
}

class TfrmButtons : public TKVForm {
  TAVO_CLASS(TfrmButtons, TKVForm)
public:
  explicit TfrmButtons(TComponent* AOwner) : TKVForm(AOwner) {
    TBitmap picture;
    PaintOneImage(&picture, 16);
    spdPlain = Add<TSpeedButton>("spdPlain");
    spdPlain->SetGlyph(&picture);
    spdLibrary = Add<TGSpeedButton>("spdLibrary");
    spdLibrary->SetGlyphIndex(63);
    spdTwoImages = Add<TGSpeedButton>("spdTwoImages");
    spdTwoImages->SetGlyphIndex(4);
    spdEmpty = Add<TSpeedButton>("spdEmpty");
    F2Button1 = Add<TF2Button>("F2Button1");
    btnOk = Add<TBitBtn>("btnOk");
    btnOk->SetGlyph(&picture);
    TBitmap wide;
    PaintOneImage(&wide, 32);
    btnTwo = Add<TBitBtn>("btnTwo");
    btnTwo->SetGlyph(&wide);
    carrier = Add<TButtonCarrier>("carrier");
  }
  template <class T>
  T* Add(const char* name) {
    T* c = new T(this);
    c->SetName(name);
    c->SetParent(this);
    return c;
  }
  TSpeedButton* spdPlain;
  TGSpeedButton* spdLibrary;
  TGSpeedButton* spdTwoImages;
  TSpeedButton* spdEmpty;
  TF2Button* F2Button1;
  TBitBtn* btnOk;
  TBitBtn* btnTwo;
  TButtonCarrier* carrier;
};

TAVO_CLASS_IMPL(TfrmLangBase, TKVForm)
TAVO_CLASS_IMPL(TfrmLangChild, TfrmLangBase)
TAVO_CLASS_IMPL(TButtonCarrier, TPanel)
TAVO_CLASS_IMPL(TfrmButtons, TKVForm)

namespace {

// ---- Creation ---------------------------------------------------------------------------

TEST_F(KVFormTest, DescendantsInheritTheDesignedSettings) {
  Install({});
  auto* form = Create<TfrmLangChild>();
  EXPECT_EQ(form->GetWidth(), 400);
  EXPECT_EQ(form->GetHeight(), 191);
  EXPECT_EQ(form->GetColor(), clBtnFace);
  EXPECT_EQ(form->GetFont()->GetName(), "宋体");
  EXPECT_EQ(form->GetFont()->GetHeight(), -13);
  EXPECT_EQ(form->GetFont()->GetCharset(), DEFAULT_CHARSET);
  EXPECT_TRUE(form->KeyPreview);
  EXPECT_EQ(form->Position, poScreenCenter);
  EXPECT_FALSE(form->Scaled);
  EXPECT_TRUE(form->GetShowHint());
  ASSERT_NE(form->KvConverter, nullptr);
  EXPECT_EQ(form->KvConverter->DesignType, dtClient);
  ASSERT_NE(form->LangController, nullptr);
  EXPECT_FALSE(form->LangController->GetActive());
  EXPECT_EQ(form->KvConverter->GetOwner(), form);
}

struct TFontCase {
  const char* Name;
  const char* UICodePage;
  bool English;
  friend std::ostream& operator<<(std::ostream& os, const TFontCase& c) { return os << c.UICodePage; }
};

const TFontCase FontCases[] = {
    {"Chinese", "936", false},
    {"English", "437", true},
};

class FontTest : public KVFormTest, public testing::WithParamInterface<TFontCase> {};

TEST_P(FontTest, EnglishInterfaceGetsTahomaAndInputMethodNamesGo) {
  Install({.UICodePage = GetParam().UICodePage});
  auto* form = Create<TfrmLangChild>();
  EXPECT_EQ(form->GetUICodePage(), GetParam().UICodePage);
  EXPECT_EQ(form->edName->ImeName, "");
  for (TControl* control : std::vector<TControl*>{form->lblName, form->edName}) {
    SCOPED_TRACE(control->GetName());
    if (GetParam().English) {
      EXPECT_EQ(control->GetFont()->GetName(), "Tahoma");
      EXPECT_EQ(control->GetFont()->GetCharset(), GB2312_CHARSET);
    } else {
      EXPECT_EQ(control->GetFont()->GetName(), "宋体");
      EXPECT_EQ(control->GetFont()->GetCharset(), DEFAULT_CHARSET);
    }
  }
  // Only what the form owns: its own font stays as designed.
  EXPECT_EQ(form->GetFont()->GetName(), "宋体");
}

INSTANTIATE_TEST_SUITE_P(CodePages, FontTest, testing::ValuesIn(FontCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Disabled images of the form's buttons -------------------------------------------------

TEST_F(KVFormTest, OneImageButtonsGetADisabledImageByClass) {
  Install({});
  auto* form = Create<TfrmButtons>();
#ifndef TAVO_LEGACY
  const int widened = 2;
#else
  const int widened = 1;
#endif
  struct TExpect {
    const char* Name;
    TBitmap* Glyph;
    int NumGlyphs;
    int Width;
  };
  const TExpect expected[] = {
      {"spdPlain", form->spdPlain->GetGlyph(), form->spdPlain->GetNumGlyphs(), 16 * widened},
      {"spdLibrary", form->spdLibrary->GetGlyph(), form->spdLibrary->GetNumGlyphs(), 16 * widened},
      {"F2Button1", form->F2Button1->GetGlyph(), form->F2Button1->GetNumGlyphs(), 16 * widened},
      {"btnOk", form->btnOk->GetGlyph(), form->btnOk->GetNumGlyphs(), 16 * widened},
      {"carrier0", form->carrier->Buttons[0]->GetGlyph(), form->carrier->Buttons[0]->GetNumGlyphs(), 16 * widened},
      {"carrier1", form->carrier->Buttons[1]->GetGlyph(), form->carrier->Buttons[1]->GetNumGlyphs(), 16 * widened},
      // Two images already: untouched.
      {"spdTwoImages", form->spdTwoImages->GetGlyph(), form->spdTwoImages->GetNumGlyphs(), 32},
      {"btnTwo", form->btnTwo->GetGlyph(), form->btnTwo->GetNumGlyphs(), 32},
  };
  for (const TExpect& e : expected) {
    SCOPED_TRACE(e.Name);
    EXPECT_EQ(e.Glyph->GetWidth(), e.Width);
    EXPECT_EQ(e.NumGlyphs, e.Width / 16);
  }
  EXPECT_TRUE(form->spdEmpty->GetGlyph()->GetEmpty());
  EXPECT_EQ(form->spdEmpty->GetNumGlyphs(), 1);

  // The picture itself stays in the first frame.
  TBitmap original;
  PaintOneImage(&original, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(form->spdPlain->GetGlyph()->GetCanvas()->GetPixels(x, y), original.GetCanvas()->GetPixels(x, y));
  TBitmap wide;
  PaintOneImage(&wide, 32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(form->btnTwo->GetGlyph()->GetCanvas()->GetPixels(x, y), wide.GetCanvas()->GetPixels(x, y));
}

#ifndef TAVO_LEGACY

// The pixel rule on small pictures. '.' is the transparent colour (the bottom-left
// pixel's), 'd' a dark pixel (red + green + blue = 383), 'l' a light one (= 384), 'w'
// white, 'k' black. In the mask, 'x' marks the pixels to etch.
struct TEtchCase {
  const char* Name;
  std::vector<std::string> Picture;
  std::vector<std::string> Mask;
  friend std::ostream& operator<<(std::ostream& os, const TEtchCase& c) { return os << c.Name; }
};

TColor PixelColour(char c, TColor transparent) {
  switch (c) {
    case 'd': return RGB(128, 128, 127);
    case 'l': return RGB(128, 128, 128);
    case 'w': return clWhite;
    case 'k': return clBlack;
    default: return transparent;
  }
}

const TEtchCase EtchCases[] = {
    // Inside a light ring the 383 pixel is etched, the 384 pixels only where they touch
    // the background.
    {"DarkBelow384",
     {".....", ".lll.", ".ldl.", ".lll.", "....."},
     {".....", ".xxx.", ".xxx.", ".xxx.", "....."}},
    {"LightAt384",
     {".....", ".lll.", ".lll.", ".lll.", "....."},
     {".....", ".xxx.", ".x.x.", ".xxx.", "....."}},
    // At the border a pixel stands in for its missing neighbour, so the border alone
    // etches nothing.
    {"BorderNeighbours",
     {"lll", "lll", ".ll"},
     {"...", "x..", ".x."}},
    // A black transparent colour: only the pixels beside it are etched.
    {"BlackBackground",
     {"kww", "www", "kww"},
     {".x.", "x..", ".x."}},
};

// The transparent colour of a case: fuchsia, or black where the picture says so.
TColor TransparentOf(const TEtchCase& c) { return c.Picture.back()[0] == 'k' ? clBlack : clFuchsia; }

class EtchTest : public testing::TestWithParam<TEtchCase> {};

TEST_P(EtchTest, TheDisabledImageEtchesTheMaskInHighlightAndShadow) {
  const TEtchCase& c = GetParam();
  const int height = static_cast<int>(c.Picture.size());
  const int width = static_cast<int>(c.Picture[0].size());
  const TColor transparent = TransparentOf(c);
  TBitmap glyph;
  glyph.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) glyph.GetCanvas()->SetPixels(x, y, PixelColour(c.Picture[y][x], transparent));

  AppendDisabledImage(&glyph);

  ASSERT_EQ(glyph.GetWidth(), 2 * width);
  ASSERT_EQ(glyph.GetHeight(), height);
  EXPECT_EQ(glyph.GetTransparentColor(), transparent);
  const auto marked = [&](int x, int y) { return x >= 0 && y >= 0 && c.Mask[y][x] == 'x'; };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      SCOPED_TRACE(testing::Message() << "x=" << x << " y=" << y);
      EXPECT_EQ(glyph.GetCanvas()->GetPixels(x, y), PixelColour(c.Picture[y][x], transparent));
      const TColor expected = marked(x, y)           ? ColorToRGB(clBtnShadow)
                              : marked(x - 1, y - 1) ? ColorToRGB(clBtnHighlight)
                                                     : ColorToRGB(clBtnFace);
      EXPECT_EQ(glyph.GetCanvas()->GetPixels(width + x, y), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, EtchTest, testing::ValuesIn(EtchCases),
                         [](const auto& info) { return std::string(info.param.Name); });

#endif

// ---- Captions and language packages -------------------------------------------------------

TEST_F(KVFormTest, CaptionsAreConvertedOnce) {
  Install({.UICodePage = "950"});
  auto* form = Create<TfrmLangChild>();
  ASSERT_EQ(form->GetUIConvertMode(), 2);
  const AnsiString big5 = WideToAnsi(u"工廠", 950);
  ASSERT_NE(big5, "工厂");
  form->ConvertCaptions();
  EXPECT_EQ(form->lblName->GetCaption(), big5);
  form->ConvertCaptions();
  EXPECT_EQ(form->lblName->GetCaption(), big5);
}

struct TPackageCase {
  const char* Name;
  std::vector<std::string> Files;  // packages with a language file
  bool BrokenBase;                 // TfrmLangBase's file is not XML
  bool Own;                        // LoadOwnLanguage instead of LoadLanguage
  bool WithAncestors;
  std::vector<std::string> Opened;  // packages applied, in order
  friend std::ostream& operator<<(std::ostream& os, const TPackageCase& c) { return os << c.Name; }
};

const TPackageCase PackageCases[] = {
    {"AncestorsFirst", {"TKVForm", "TfrmLangBase", "TfrmLangChild"}, false, false, true,
     {"TKVForm", "TfrmLangBase", "TfrmLangChild"}},
    {"MissingFilesSkipped", {"TKVForm", "TfrmLangChild"}, false, false, true, {"TKVForm", "TfrmLangChild"}},
    {"BrokenFileSkipped", {"TKVForm", "TfrmLangBase", "TfrmLangChild"}, true, false, true,
     {"TKVForm", "TfrmLangChild"}},
    {"OwnLeavesOutTheBaseForm", {"TKVForm", "TfrmLangBase", "TfrmLangChild"}, false, true, true,
     {"TfrmLangBase", "TfrmLangChild"}},
    {"WithoutAncestors", {"TKVForm", "TfrmLangBase", "TfrmLangChild"}, false, false, false, {"TfrmLangChild"}},
    {"OwnWithoutAncestors", {"TKVForm", "TfrmLangBase", "TfrmLangChild"}, false, true, false, {"TfrmLangChild"}},
};

// Each package sets the form's caption to its name and its own attribute.
std::string PackageXml(const std::string& package) {
  return "<?xml version=\"1.0\"?>\r\n<" + package + " Caption=\"" + package + "\" Hint=\"hint " + package +
         "\">\r\n  <lblName Caption=\"name " + package + "\" Tag=\"" + std::to_string(package.size()) + "\"/>\r\n</" +
         package + ">\r\n";
}

class PackageTest : public KVFormTest, public testing::WithParamInterface<TPackageCase> {
public:
  void Opened(TObject*) { Applied.push_back(Form->LangController->GetLangPackageName()); }

protected:
  TfrmLangChild* Form = nullptr;
  std::vector<std::string> Applied;
};

TEST_P(PackageTest, AppliesThePackagesOfTheClassChainThatExist) {
  const TPackageCase& c = GetParam();
  TSetup setup;
  for (const std::string& package : c.Files)
    setup.ChsFiles[package] = c.BrokenBase && package == "TfrmLangBase" ? "<TfrmLangBase Caption=" : PackageXml(package);
  Install(setup);
  Form = Create<TfrmLangChild>();
  Form->LangController->AfterOpen = TNotifyEvent(this, &PackageTest::Opened);

  if (c.Own)
    Form->LoadOwnLanguage(Form, c.WithAncestors);
  else
    Form->LoadLanguage(Form, c.WithAncestors);

  EXPECT_EQ(Applied, c.Opened);
  // The last package applied has the last word; attributes only earlier ones set stay.
  EXPECT_EQ(Form->GetCaption(), c.Opened.back());
  EXPECT_EQ(Form->lblName->GetCaption(), "name " + c.Opened.back());
  EXPECT_EQ(Form->Hint, "hint " + c.Opened.back());
  if (c.BrokenBase) {
    // The broken package is logged.
    std::string logged;
    const std::string logDir = Installation->Prefix.Path("drive_c/KVT/Client/Log");
    if (std::filesystem::exists(logDir))
      for (const auto& entry : std::filesystem::directory_iterator(logDir))
        if (entry.path().filename().string().rfind("Alert_KVForm_", 0) == 0)
          logged += Installation->Prefix.ReadFile("drive_c/KVT/Client/Log/" + entry.path().filename().string());
    EXPECT_NE(logged.find("TfrmLangBase.Lng"), std::string::npos) << logged;
  }
}

INSTANTIATE_TEST_SUITE_P(Chains, PackageTest, testing::ValuesIn(PackageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KVFormTest, ShowingAppliesThePackagesEveryTime) {
  Install({.ChsFiles = {{"TKVForm", PackageXml("TKVForm")}, {"TfrmLangChild", PackageXml("TfrmLangChild")}}});
  auto* form = Create<TfrmLangChild>();
  form->Show();
  EXPECT_EQ(form->GetCaption(), "TfrmLangChild");
  EXPECT_EQ(form->lblName->Tag, 13);
  form->Hide();
  form->SetCaption("changed");
  form->lblName->SetCaption("changed");
  form->Show();
  EXPECT_EQ(form->GetCaption(), "TfrmLangChild");
  EXPECT_EQ(form->lblName->GetCaption(), "name TfrmLangChild");
}

// ---- Services to descendants ----------------------------------------------------------------

struct TLangTextCase {
  const char* Name;
  const char* UICodePage;
  const char* Key;
  bool ConvertDefault;
  WideString Expected;
  UINT ExpectedCodePage;
  friend std::ostream& operator<<(std::ostream& os, const TLangTextCase& c) { return os << c.Name; }
};

const TLangTextCase LangTextCases[] = {
    {"FromTheFile", "936", "sDeleteProj", true, u"Delete the scheme?", 936},
    {"ElementWithoutMsg", "936", "sNoMsg", false, u"删除方案", 936},
    {"MissingKey", "936", "sMissing", false, u"删除方案", 936},
    {"DefaultForDisplay", "950", "sMissing", true, u"刪除方案", 950},
    {"DefaultAsGiven", "950", "sMissing", false, u"删除方案", 936},
};

class LangTextTest : public KVFormTest, public testing::WithParamInterface<TLangTextCase> {};

TEST_P(LangTextTest, LooksTheKeyUpWithTheDefaultStandingIn) {
  const TLangTextCase& c = GetParam();
  const std::string xml =
      "<?xml version=\"1.0\"?>\r\n<TfrmLangBase>\r\n  <sDeleteProj Msg=\"Delete the scheme?\"/>\r\n"
      "  <sNoMsg Text=\"none\"/>\r\n</TfrmLangBase>\r\n";
  TSetup setup{.UICodePage = c.UICodePage};
  setup.ChsFiles["TfrmLangBase"] = xml;
  // The traditional interface reads its own folder.
  Install(setup);
  Installation->Prefix.WriteFile("drive_c/KVT/Client/MultiLanguage/CHT/TfrmLangBase.Lng", xml);
  auto* form = Create<TfrmLangBase>();
  AnsiString text = "before";
  form->GetLangText("TfrmLangBase", c.Key, text, c.ConvertDefault, "删除方案");
  EXPECT_EQ(text, WideToAnsi(c.Expected, c.ExpectedCodePage));
}

INSTANTIATE_TEST_SUITE_P(Keys, LangTextTest, testing::ValuesIn(LangTextCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KVFormTest, MessageBoxIsTheConvertersCaptionedLikeTheForm) {
  Install({});
  auto* form = Create<TfrmLangBase>();
  form->SetCaption("选项");
  Driver.AnswerDialog(mrYes);
  EXPECT_EQ(form->MessageBox("删除吗?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}), mrYes);
  const auto dialogs = Driver.EventsOf(ueMessageDialog);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].Caption, "选项");
  EXPECT_EQ(dialogs[0].Text, "删除吗?      ");
  EXPECT_EQ(dialogs[0].DialogType, mtConfirmation);
  EXPECT_EQ(form->MessageBox("", mtError, TMsgDlgButtons{mbOK}), 0);
  EXPECT_EQ(Driver.EventsOf(ueMessageDialog).size(), 1u);
}

struct TCodePageCase {
  const char* Name;
  UINT ACP;
  const char* UICodePage;
  const char* System;
  const char* UI;
  int UIMode;
  friend std::ostream& operator<<(std::ostream& os, const TCodePageCase& c) { return os << c.Name; }
};

const TCodePageCase CodePageCases[] = {
    {"Simplified", 936, "936", "936", "936", 0},
    {"English", 936, "437", "936", "437", 0},
    {"TraditionalOnSimplified", 936, "950", "936", "950", 2},
    {"SimplifiedOnTraditional", 950, "936", "950", "936", 4},
};

class CodePageTest : public KVFormTest, public testing::WithParamInterface<TCodePageCase> {};

TEST_P(CodePageTest, AnswersTheConvertersCodePages) {
  const TCodePageCase& c = GetParam();
  Install({.ACP = c.ACP, .UICodePage = c.UICodePage});
  auto* form = Create<TKVForm>();
  EXPECT_EQ(form->GetSystemCodePage(), c.System);
  EXPECT_EQ(form->GetUICodePage(), c.UI);
  EXPECT_EQ(form->GetUIConvertMode(), c.UIMode);
  EXPECT_EQ(form->GetDBConvertMode(), form->KvConverter->DBConvertMode);
}

INSTANTIATE_TEST_SUITE_P(Installations, CodePageTest, testing::ValuesIn(CodePageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
