// TfrmBaseGene: the generic option form of the client's report and batch programs. The
// controller creates it, hands it the library path and the host object, takes over its
// show, hide and destroy events and initialises it from the host parameter array.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/vcl/Forms.h"

class TfrmBaseGene : public TForm {
  TAVO_CLASS(TfrmBaseGene, TForm)
public:
  explicit TfrmBaseGene(TComponent* AOwner);

  // Stores the full path of the library (or executable) the form runs in.
  void SetModulePath(const AnsiString& path);
  // Takes the host parameter array [user, company, database, host window, reserved];
  // false when the form was initialised before or the array is not such an array.
  virtual bool InitOptionForm(const Variant& params);
  // A run request from the host: a two-element array whose element 1 is
  // [mode, [stored layout flag, values]].
  virtual void RunRequest(const Variant& request);

  // The program identifier the library's file name carries: the name without extension
  // and without one more character for a library (two for an executable), but never
  // shorter than six characters.
  static AnsiString ProgramIdFromPath(const AnsiString& modulePath);
  // The path names a library (extension ".Dll", any case).
  bool IsLibrary() const;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);

  Variant HostObject;
  AnsiString UserId;
  AnsiString CompanyId;
  AnsiString DatabaseName;
  AnsiString VersionStamp;
  AnsiString ProgramId;
  AnsiString ProgramName;
  bool StoredLayout = false;
  HWND HostWindow = 0;
  Variant FormResultData;
  int32_t FormResultCode = 0;
  bool Interactive = true;
  AnsiString ModulePath;
};

using TfrmBaseGeneClass = const TMetaClass*;
