#include "module/entry/HostCalls.h"

#include <array>

int HostVersionType(const Variant& host) { return Get(host, "VersionType").AsInteger(); }
int HostProductID(const Variant& host) { return Get(host, "ProductID").AsInteger(); }
Variant HostCounterService(const Variant& host) { return Get(host, "Com_Counter"); }
Variant HostValidatorService(const Variant& host) { return Get(host, "Com_Validator"); }
Variant HostLookupService(const Variant& host) { return Get(host, "Com_F2Window"); }

Variant HostGetMessage(const Variant& host, const AnsiString& kind, const AnsiString& number) {
  return Call(host, "GetMessage", {Variant(kind), Variant(number)});
}

void HostCallHelp(const Variant& host, const AnsiString& systemCode, const AnsiString& helpCode) {
  Call(host, "CallHelp", {VarArrayOf({Variant(systemCode), Variant(helpCode)})});
}

Variant HostGetFileList(const Variant& host, const AnsiString& fileName) {
  return Call(host, "GetFileList", {VarArrayOf({Variant(fileName)})});
}

Variant CounterGetSysInfo(const Variant& counter, AnsiString& companyId) {
  std::array<Variant, 1> args{Variant(companyId)};
  Variant answer = Call(counter, "GetSysInfo", args);
  companyId = VarToStr(args[0]);
  return answer;
}

Variant CounterGetCounter(const Variant& counter, const AnsiString& functionName, Variant& value,
                          const AnsiString& companyId, const AnsiString& databaseName) {
  std::array<Variant, 3> args{Variant(functionName), value,
                              VarArrayOf({Variant(companyId), Variant(databaseName)})};
  Variant answer = Call(counter, "GetCounter", args);
  value = std::move(args[1]);
  return answer;
}

void ValidatorSetProductID(const Variant& validator, int productId) { Put(validator, "ProductID", productId); }

void ValidatorSetBaseLimited(const Variant& validator, const WideString& dataLimit) {
  Put(validator, "BaseLimited", dataLimit);
}

namespace {

bool MasterDataCall(const Variant& validator, const char* member, AnsiString& table, AnsiString& queryNumber,
                    AnsiString& databaseName, Variant& keys, Variant& row) {
  std::array<Variant, 5> args{Variant(table), Variant(queryNumber), Variant(databaseName), keys, row};
  const bool found = Call(validator, member, args).AsBoolean();
  table = VarToStr(args[0]);
  queryNumber = VarToStr(args[1]);
  databaseName = VarToStr(args[2]);
  keys = std::move(args[3]);
  row = std::move(args[4]);
  return found;
}

}  // namespace

bool ValidatorQueryData(const Variant& validator, AnsiString& table, AnsiString& queryNumber,
                        AnsiString& databaseName, Variant& keys, Variant& row) {
  return MasterDataCall(validator, "QueryData", table, queryNumber, databaseName, keys, row);
}

bool ValidatorCheckValue(const Variant& validator, AnsiString& table, AnsiString& queryNumber,
                         AnsiString& databaseName, Variant& keys, Variant& row) {
  return MasterDataCall(validator, "CheckValue", table, queryNumber, databaseName, keys, row);
}

Variant LookupGetPhrase(const Variant& lookup, AnsiString& userId, AnsiString& databaseName, HWND window) {
  std::array<Variant, 3> args{Variant(userId), Variant(databaseName), Variant(static_cast<int>(window))};
  Variant answer = Call(lookup, "GetPhrase", args);
  userId = VarToStr(args[0]);
  databaseName = VarToStr(args[1]);
  return answer;
}

Variant LookupF2GetData(const Variant& lookup, const Variant& request) {
  return Call(lookup, "F2GetData", {request});
}

Variant LookupShowInputDay(const Variant& lookup, bool eraCalendar, const AnsiString& startDate,
                           const AnsiString& databaseName) {
  return Call(lookup, "ShowInputDay", {VarArrayOf({Variant(eraCalendar), Variant(startDate), Variant(databaseName)})});
}

Variant ServerLoadTable(const Variant& server, Variant& key) {
  std::array<Variant, 1> args{key};
  Variant answer = Call(server, "LoadTable", args);
  key = std::move(args[0]);
  return answer;
}

Variant ServerInsertConTable(const Variant& server, Variant& record) {
  std::array<Variant, 1> args{record};
  Variant answer = Call(server, "InsertConTable", args);
  record = std::move(args[0]);
  return answer;
}

Variant ServerDeleteConTable(const Variant& server, Variant& key) {
  std::array<Variant, 1> args{key};
  Variant answer = Call(server, "DeleteConTable", args);
  key = std::move(args[0]);
  return answer;
}

Variant ServerChangeConName(const Variant& server, Variant& oldKey, Variant& newKey) {
  std::array<Variant, 2> args{oldKey, newKey};
  Variant answer = Call(server, "ChangeConName", args);
  oldKey = std::move(args[0]);
  newKey = std::move(args[1]);
  return answer;
}

Variant ServerGetPower(const Variant& server, const Variant& request) { return Call(server, "GetPower", {request}); }

Variant ServerRequest(const Variant& server, const Variant& jobParameters) {
  return Call(server, "Request", {jobParameters});
}

Variant ServerErrorDescript(const Variant& server) { return Get(server, "ErrorDescript"); }

Variant ServerRequest1(const Variant& server, const Variant& jobParameters, const Variant& computerName) {
  return Call(server, "Request1", {jobParameters, computerName});
}

void ServerUpdateStatus1(const Variant& server, const Variant& requestNumber, const Variant& messageTexts,
                         TDateTime now) {
  Call(server, "UpdateStatus1", {requestNumber, messageTexts, VarFromDateTime(now)});
}

Variant QueueOpenReport(const Variant& queue, const Variant& request) { return Call(queue, "OpenReport", {request}); }
