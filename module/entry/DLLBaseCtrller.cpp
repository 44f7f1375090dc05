#include "module/entry/DLLBaseCtrller.h"

TAVO_CLASS_IMPL(TDLLBaseController, TObject)

void TDLLBaseController::DoFormCreated(TObject*) { Notify(ncFormCreated, this); }
void TDLLBaseController::DoFormShow(TObject*) { Notify(ncFormShow, this); }
void TDLLBaseController::DoFormHide(TObject*) { Notify(ncFormHide, this); }
void TDLLBaseController::DoFormDestroy(TObject*) { Notify(ncFormDestroy, this); }
void TDLLBaseController::DoCustomNotify() { Notify(ncCustomNotify, this); }

// The host always hears of the controller, whoever raised the notification.
void TDLLBaseController::Notify(int32_t code, TObject*) { OnNotify(code, this); }

void TDLLBaseController::ReservedHook() {}
