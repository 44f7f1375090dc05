// The library's main block. It is linked into the plug-in only, never into programs that
// link the module directly, and runs after the modules' initialisations (which carry a
// lower priority number).
#include "module/entry/DLLRPCtrller.h"
#include "module/framework/BaseGene.h"

namespace {

struct TLibraryMain {
  TLibraryMain() { frmBaseGeneClass = TfrmBaseGene::StaticClass(); }
  ~TLibraryMain() { frmBaseGeneClass = nullptr; }
};
TLibraryMain LibraryMain;

}  // namespace
