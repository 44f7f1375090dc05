// The host's automation object "HelmWorkCenter.Manager" and its counter, validator and
// lookup services, as the client's plug-ins call them. This first host answers from
// fixture data held in memory; its lookup windows are real modal forms, so a scripted
// user-interface driver can pick in them as a person would.
#pragma once

#include "platform/ole/ComObj.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

// A master-table row: the key values it is found by and the columns it answers.
struct THelmMasterRow {
  std::vector<AnsiString> Keys;
  std::vector<AnsiString> Columns;
};

// What the host knows. Look-ups by name ignore case.
struct THelmFixture {
  int VersionType = 1;
  int ProductID = 1;
  // The user, company and database the host signs in with.
  AnsiString UserId;
  AnsiString CompanyId;
  AnsiString DatabaseName;
  // Upper-case company -> its system settings (key, value) in order.
  std::map<AnsiString, std::vector<std::pair<AnsiString, AnsiString>>> SysInfo;
  // "E;000038" -> the message template.
  std::map<AnsiString, AnsiString> Messages;
  // "ADMMB;01" (upper case) -> the rows of that table for that query number.
  std::map<AnsiString, std::vector<THelmMasterRow>> MasterData;
  // Upper-case user -> the user's common phrases.
  std::map<AnsiString, std::vector<AnsiString>> Phrases;
  // Lower-case file name -> its file-list entry.
  std::map<AnsiString, AnsiString> FileList;
};

// A company with the settings, messages and program master rows the client's programs read.
THelmFixture DefaultHelmFixture();

// One call a plug-in made: the object ("Manager", "Counter", "Validator", "Lookup"), the
// member, and the arguments as they arrived, in the literal form of variants.
struct THelmCall {
  AnsiString Object;
  AnsiString Member;
  TInvokeKind Kind = TInvokeKind::Method;
  std::string Arguments;
};
using THelmJournal = std::vector<THelmCall>;

class THelmManager : public TAutoObject {
  TAVO_CLASS(THelmManager, TAutoObject)
public:
  THelmManager(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal);
  Variant Invoke(const AnsiString& name, TInvokeKind kind, std::span<Variant> args) override;

  // The values the validator was given last ("ProductID", "BaseLimited").
  int ValidatorProductID() const;
  WideString ValidatorBaseLimited() const;

private:
  std::shared_ptr<const THelmFixture> FFixture;
  std::shared_ptr<THelmJournal> FJournal;
  Variant FCounter;
  Variant FValidator;
  Variant FLookup;
};

// Registers "HelmWorkCenter.Manager" in process: each object created answers from fixture
// and records its calls (and its services' calls) in journal.
void RegisterHelmManager(std::shared_ptr<const THelmFixture> fixture, std::shared_ptr<THelmJournal> journal);

// The host's pick window: a list of entries (rows, phrases) or one value (a date) that the
// person chooses from and confirms with OK.
class THelmPickForm : public TForm {
  TAVO_CLASS(THelmPickForm, TForm)
public:
  THelmPickForm(TComponent* owner, const AnsiString& caption);

  TListBox* lstItems = nullptr;
  TEdit* edValue = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;
};
