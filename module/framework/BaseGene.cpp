#include "module/framework/BaseGene.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace {

// A variant array with at least one element.
bool IsFilledArray(const Variant& v) {
  return VarIsArray(v) && VarArrayDimCount(v) == 1 && VarArrayHighBound(v, 1) >= VarArrayLowBound(v, 1);
}

}  // namespace

TAVO_PUBLISHED(TfrmBaseGene, TForm) {
  P.Method("FormCreate", &TfrmBaseGene::FormCreate);
  P.Method("FormClose", &TfrmBaseGene::FormClose);
  P.Method("FormDestroy", &TfrmBaseGene::FormDestroy);
}

TfrmBaseGene::TfrmBaseGene(TComponent* AOwner) : TForm(AOwner) {}

void TfrmBaseGene::FormCreate(TObject*) {
  // Long condition hints stay up while the user reads them.
  Application->HintHidePause = 500000;
  VersionStamp = "870401-0.00.00";
  CompanyId.clear();
  ProgramId.clear();
  ProgramName.clear();
  Interactive = true;
}

void TfrmBaseGene::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmBaseGene::FormDestroy(TObject*) { HostObject = Unassigned(); }

void TfrmBaseGene::SetModulePath(const AnsiString& path) { ModulePath = path; }

bool TfrmBaseGene::IsLibrary() const { return SameText(ExtractFileExt(ModulePath), ".Dll"); }

AnsiString TfrmBaseGene::ProgramIdFromPath(const AnsiString& modulePath) {
  const AnsiString fileName = ExtractFileName(modulePath);
  const AnsiString base = ChangeFileExt(fileName, "");
  const int drop = SameText(ExtractFileExt(fileName), ".Dll") ? 1 : 2;
  const int length = static_cast<int>(base.size());
  return Copy(base, 1, std::max(length - drop, 6));
}

bool TfrmBaseGene::InitOptionForm(const Variant& params) {
  if (!CompanyId.empty()) return false;
  try {
    if (!IsFilledArray(params) || VarArrayLowBound(params, 1) != 0 || VarArrayHighBound(params, 1) < 4)
      return false;
    const AnsiString user = VarToStr(params[0]);
    const AnsiString company = VarToStr(params[1]);
    const AnsiString database = VarToStr(params[2]);
    const HWND hostWindow = static_cast<HWND>(params[3].AsInt64());
    UserId = user;
    CompanyId = company;
    DatabaseName = database;
    HostWindow = hostWindow;
    // The program master table names the program once the host's services are
    // consulted; until then the identifier stands for it.
    ProgramId = UpperCase(ProgramIdFromPath(ModulePath));
    ProgramName = ProgramId;
    StoredLayout = false;
    return true;
  } catch (const Exception&) {
    return false;
  }
}

void TfrmBaseGene::RunRequest(const Variant& request) {
  if (!IsFilledArray(request)) return;
  const Variant run = request.GetElement({1});
  if (!IsFilledArray(run)) return;
  const Variant mode = run.GetElement({0});
  Interactive = mode == Variant(0) || mode == Variant(1);
  if (VarArrayHighBound(run, 1) >= 1) {
    const Variant layout = run.GetElement({1});
    if (IsFilledArray(layout)) StoredLayout = layout.GetElement({0}).AsBoolean();
  }
}
