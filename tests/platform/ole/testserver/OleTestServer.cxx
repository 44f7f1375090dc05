// A small in-process automation server, registered by ProgID in a test prefix.
#include "platform/ole/ComObj.h"
#include "platform/rtl/SysUtils.h"

namespace {

class TOleTestServer : public TAutoObject {
public:
  TOleTestServer() {
    RegisterMethod("Echo", [](std::span<Variant> args) { return args[0]; }, 1);
    // Doubles its by-reference argument and answers the old value.
    RegisterMethod("Twice", [](std::span<Variant> args) {
      const Variant old = args[0];
      args[0] = args[0].AsInteger() * 2;
      return old;
    }, 1);
    RegisterProperty("Origin", [](std::span<Variant>) { return Variant("library"); });
  }
};

}  // namespace

extern "C" bool DllCreateObject(const char* progId, std::shared_ptr<IAutomationObject>* out) {
  try {
    if (!progId || !out || !SameText(progId, "OleTest.Server")) return false;
    *out = std::make_shared<TOleTestServer>();
    return true;
  } catch (...) {
    return false;
  }
}
