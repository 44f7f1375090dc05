#include "host/PlugInHost.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

std::string Utf8From(const AnsiString& text, UINT codePage) {
  return WideToAnsi(AnsiToWide(text, codePage), CP_UTF8);
}
std::string Utf8(const AnsiString& ansi) { return Utf8From(ansi, CP_ACP); }

TPlugInLibrary::TPlugInLibrary(const AnsiString& path) {
  FHandle = LoadLibrary(path);
  if (!FHandle)
    throw Exception(Format("Cannot load the plug-in %s (error %d)", {path, static_cast<int>(GetLastError())}));
  FGetController = reinterpret_cast<TGetController>(GetProcAddress(FHandle, GetControllerExport));
  if (!FGetController) {
    FreeLibrary(FHandle);
    throw Exception("The plug-in " + path + " does not export " + GetControllerExport);
  }
}

TPlugInLibrary::~TPlugInLibrary() { FreeLibrary(FHandle); }

namespace {

const char* NotificationName(int32_t code) {
  switch (code) {
    case ncFormCreated:
      return "form created";
    case ncFormShow:
      return "form shown";
    case ncFormHide:
      return "form hidden";
    case ncFormDestroy:
      return "form destroyed";
    case ncCustomNotify:
      return "custom";
    default:
      return "unknown";
  }
}

// Receives the controller's notifications and writes them where the run's steps go.
class THostNotifier {
public:
  explicit THostNotifier(std::ostream& out) : FOut(out) {}

  void ControllerNotify(int32_t code, TDLLBaseController* sender) {
    FOut << "  notify " << code << " (" << NotificationName(code) << ")";
    if (code == ncFormDestroy)
      FOut << ": ResultCode " << sender->ResultCode << ", ResultData " << VarToLiteral(sender->ResultData);
    FOut << "\n";
  }

private:
  std::ostream& FOut;
};

struct TControllerFree {
  void operator()(TDLLBaseController* controller) const { delete controller; }
};

}  // namespace

int RunPlugIn(const THostRunOptions& options, std::ostream& out) {
  auto fixture = std::make_shared<THelmFixture>(DefaultHelmFixture());
  auto journal = std::make_shared<THelmJournal>();
  RegisterHelmManager(fixture, journal);
  const AnsiString user = options.UserId.empty() ? fixture->UserId : options.UserId;
  const AnsiString company = options.CompanyId.empty() ? fixture->CompanyId : options.CompanyId;
  const AnsiString database = options.DatabaseName.empty() ? fixture->DatabaseName : options.DatabaseName;

  out << "Plug-in " << Utf8(options.Library) << "\n";
  TPlugInLibrary library(options.Library);
  THostNotifier notifier(out);
  bool ran = false;
  {
    std::unique_ptr<TDLLBaseController, TControllerFree> controller(library.GetController());
    out << "GetController: " << Utf8(controller->ClassName()) << "\n";
    controller->HostObject = CreateOleObject("HelmWorkCenter.Manager");
    controller->OnNotify = TDLLNotifyEvent(&notifier, &THostNotifier::ControllerNotify);

    const Variant params = VarArrayOf({Variant(user), Variant(company), Variant(database),
                                       Variant(static_cast<int>(Application->GetHandle())), Variant("")});
    out << "InitForm " << VarToLiteral(params) << "\n";
    const int32_t init = controller->InitForm(params);
    out << "  -> " << init << "\n";
    if (init == 0) {
      WideString version;
      controller->GetVersion(version);
      out << "GetVersion: " << WideToAnsi(version, CP_UTF8) << "\n";
      out << "GetVisible: " << controller->GetVisible() << "\n";
      Variant result;
      const int32_t got = controller->GetResult(result);
      out << "GetResult: " << got << " " << VarToLiteral(result) << "\n";
      out << "ShowModal\n";
      const Variant modal = controller->ShowModal();
      out << "  -> " << VarToLiteral(modal) << "\n";
    }
    // The host's message loop: a closed form frees itself here.
    out << "Messages\n";
    Application->ProcessMessages();

    out << "ResultCode: " << controller->ResultCode << "\n";
    out << "ResultData: " << VarToLiteral(controller->ResultData) << "\n";
    Variant after;
    const int32_t got = controller->GetResult(after);
    out << "GetResult: " << got << " " << VarToLiteral(after) << "\n";
    const bool freed = controller->IsFormFreed();
    out << "IsFormFreed: " << (freed ? "True" : "False") << "\n";
    ran = init == 0 && freed;
  }

  out << "Host calls:";
  if (journal->empty()) out << " none";
  out << "\n";
  for (const THelmCall& call : *journal)
    out << "  " << Utf8(call.Object) << "." << Utf8(call.Member) << "(" << call.Arguments << ")\n";
  UnregisterComFactory("HelmWorkCenter.Manager");
  return ran ? 0 : 1;
}
