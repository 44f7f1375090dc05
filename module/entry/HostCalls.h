// The calls the module makes on objects outside it: the host's automation object and its
// counter, validator and lookup services, the application server and the queue manager.
// Each is named after its member, takes the arguments in the member's order, and passes
// by reference what the callee may change (those come back changed). A failing callee
// raises EOleException (EOleError when the variant holds no object); what a failure
// means is the calling operation's business.
#pragma once

#include "platform/ole/ComObj.h"
#include "platform/vcl/Messages.h"

inline constexpr const char* HostProgId = "HelmWorkCenter.Manager";
inline constexpr const char* AppServerProgId = "DaruzoVirezavI.dmReportCounter";
inline constexpr const char* QueueManagerProgId = "RevavAzidaroV.Class1";
inline constexpr const char* SchemeProviderName = "pvdConSave";
inline constexpr const char* ServerControllerExport = "GetSvrController";

// ---- The host object ------------------------------------------------------------------

int HostVersionType(const Variant& host);
int HostProductID(const Variant& host);
Variant HostCounterService(const Variant& host);    // "Com_Counter"
Variant HostValidatorService(const Variant& host);  // "Com_Validator"
Variant HostLookupService(const Variant& host);     // "Com_F2Window"
// The template of a message of the host's message table.
Variant HostGetMessage(const Variant& host, const AnsiString& kind, const AnsiString& number);
// Opens the help of a program: [system code, help code].
void HostCallHelp(const Variant& host, const AnsiString& systemCode, const AnsiString& helpCode);
// The file-list entry of a package file: [file name].
Variant HostGetFileList(const Variant& host, const AnsiString& fileName);

// ---- The counter service --------------------------------------------------------------

// The system settings of a company: a two-row array, keys in row 0, values in row 1.
Variant CounterGetSysInfo(const Variant& counter, AnsiString& companyId);
// Runs a named server function: name, value (by reference), [company, database].
Variant CounterGetCounter(const Variant& counter, const AnsiString& functionName, Variant& value,
                          const AnsiString& companyId, const AnsiString& databaseName);

// ---- The validator service ------------------------------------------------------------

void ValidatorSetProductID(const Variant& validator, int productId);
void ValidatorSetBaseLimited(const Variant& validator, const WideString& dataLimit);
// Master-data query and check: the found row comes back in row; true when found.
bool ValidatorQueryData(const Variant& validator, AnsiString& table, AnsiString& queryNumber,
                        AnsiString& databaseName, Variant& keys, Variant& row);
bool ValidatorCheckValue(const Variant& validator, AnsiString& table, AnsiString& queryNumber,
                         AnsiString& databaseName, Variant& keys, Variant& row);

// ---- The lookup service ---------------------------------------------------------------

// The common phrase the user picks, "" when none.
Variant LookupGetPhrase(const Variant& lookup, AnsiString& userId, AnsiString& databaseName, HWND window);
// The rows the user chooses in the lookup window for a lookup request.
Variant LookupF2GetData(const Variant& lookup, const Variant& request);
// The date the user picks ("yyyymmdd"): [era calendar, start date, database].
Variant LookupShowInputDay(const Variant& lookup, bool eraCalendar, const AnsiString& startDate,
                           const AnsiString& databaseName);

// ---- The application server -----------------------------------------------------------

// Prepares the condition schemes of [user, program] for the provider "pvdConSave".
Variant ServerLoadTable(const Variant& server, Variant& key);
// The scheme methods answer an error text, empty on success.
Variant ServerInsertConTable(const Variant& server, Variant& record);
Variant ServerDeleteConTable(const Variant& server, Variant& key);
Variant ServerChangeConName(const Variant& server, Variant& oldKey, Variant& newKey);
// The user-rights record for [database, user, program, ""].
Variant ServerGetPower(const Variant& server, const Variant& request);
// Submits a job: the job number, or "ERROR".
Variant ServerRequest(const Variant& server, const Variant& jobParameters);
// The text describing the server's last failure.
Variant ServerErrorDescript(const Variant& server);
// Registers a run: the request number, or "ERROR".
Variant ServerRequest1(const Variant& server, const Variant& jobParameters, const Variant& computerName);
void ServerUpdateStatus1(const Variant& server, const Variant& requestNumber, const Variant& messageTexts,
                         TDateTime now);

// ---- The queue manager ----------------------------------------------------------------

// Opens a registered run in the designer: 0 on success.
Variant QueueOpenReport(const Variant& queue, const Variant& request);
