// Controls: the visual component (TControl), the windowed control with its children, tab
// order, handle and focus (TWinControl), and the bases of painted controls
// (TGraphicControl, TCustomControl); window messages, keys and the actions of a person
// at the keyboard and mouse.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/TypInfo.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class TWinControl;
class TCustomForm;
class TPopupMenu;

// ---- Types ----------------------------------------------------------------------------

TAVO_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
TAVO_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
TAVO_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
TAVO_SET_INFO(TAnchors, TAnchorKind)
TAVO_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
TAVO_SET_INFO(TShiftState, TShiftStateFlag)
TAVO_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
TAVO_ENUM(THelpType, htKeyword, htContext)
TAVO_ENUM(TDragMode, dmManual, dmAutomatic)
TAVO_ENUM(TDragKind, dkDrag, dkDock)
TAVO_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
TAVO_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
          imKata, imChinese, imSHanguel, imHanguel)
TAVO_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
TAVO_ENUM(TBevelKind, bkNone, bkTile, bkSoft, bkFlat)
TAVO_ENUM(TBevelEdge, beLeft, beTop, beRight, beBottom)
TAVO_SET_INFO(TBevelEdges, TBevelEdge)
// The border styles of forms; windowed controls publish the first two as TBorderStyle.
TAVO_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;
const TTypeInfo* BorderStyleTypeInfo();  // "TBorderStyle": bsNone, bsSingle

TAVO_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents,
          csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight,
          csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector,
          csActionClient, csMenuEvents)
TAVO_SET_INFO(TControlStyle, TControlStyleFlag)

// Modal results: the value a form's ShowModal answers.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;
// "mrNone", "mrOk" …, and back (-1 when unknown); the identifier mapping of TModalResult.
bool ModalResultToIdent(int value, AnsiString& ident);
bool IdentToModalResult(const AnsiString& ident, int& value);

TAVO_EVENT(TKeyEvent, TObject*, Word&, TShiftState)
TAVO_EVENT(TKeyPressEvent, TObject*, char&)
TAVO_EVENT(TMouseEvent, TObject*, TMouseButton, TShiftState, int, int)
TAVO_EVENT(TMouseMoveEvent, TObject*, TShiftState, int, int)

// The element after (or before) current in list, going round, that accept() takes; with
// current not in the list the walk starts at the first (or last) element. The tab order
// and the page control's next page both step this way.
template <class T, class Accept>
T* FindNextInCycle(const std::vector<T*>& list, const T* current, bool goForward, Accept accept) {
  const int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  auto found = std::find(list.begin(), list.end(), current);
  const int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
  int i = start;
  do {
    if (goForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    if (accept(list[i])) return list[i];
  } while (i != start);
  return nullptr;
}

// ---- TControl -------------------------------------------------------------------------

class TControl : public TComponent {
  TAVO_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* GetParent() const { return FParent; }
  // Moves the control into AParent's child list (and out of the old parent's). A window
  // cannot become its own parent or the parent of one of its ancestors
  // (EInvalidOperation "A control cannot have itself as its parent").
  virtual void SetParent(TWinControl* AParent);

  int GetLeft() const { return FLeft; }
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  int GetTop() const { return FTop; }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  int GetWidth() const { return FWidth; }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  int GetHeight() const { return FHeight; }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  // Moves and sizes; realigns the parent's aligned controls and the own children.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect GetClientRect() const;
  int GetClientWidth() const { return GetClientRect().Width(); }
  void SetClientWidth(int value);
  int GetClientHeight() const { return GetClientRect().Height(); }
  void SetClientHeight(int value);
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign value);
  TAnchors Anchors{akLeft, akTop};

  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a visible form.
  bool Showing() const;

  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);
  // Enabled here and in every parent: what input reaches.
  bool EffectiveEnabled() const;

  // Caption and Text are one text, as in the VCL.
  virtual AnsiString GetText() const { return FText; }
  virtual void SetText(const AnsiString& value);
  AnsiString GetCaption() const { return GetText(); }
  void SetCaption(const AnsiString& value) { SetText(value); }

  AnsiString Hint;
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value);

  TColor GetColor() const { return FColor; }
  void SetColor(TColor value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool value);

  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* value);  // copies value
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool value);

  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* value);

  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool value);

  TControlStyle ControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  int HelpContext = 0;
  AnsiString HelpKeyword;
  THelpType HelpType = htContext;
  TDragMode DragMode = dmManual;
  TDragKind DragKind = dkDrag;
  TBiDiMode BiDiMode = bdLeftToRight;
  bool ParentBiDiMode = true;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

  // Delivers a message at once through WndProc; answers its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Message flow: WndProc → Dispatch (the class's message handlers, most derived first)
  // → DefaultHandler (the built-in behaviour).
  virtual void WndProc(TMessage& message);
  void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  // Runs the handler of an ancestor of `cls` for the message (inherited handling);
  // DefaultHandler when none has one.
  void DispatchInherited(const TMetaClass* cls, TMessage& message);

  virtual void Click();
  virtual void DblClick();
  // A person clicked the control (released the left button on it, or pressed the key
  // that clicks it); plain controls Click, check boxes toggle.
  virtual void UserClick() { Click(); }

  void BringToFront();
  void SendToBack();
  void Invalidate() { FInvalidated = true; }
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void Update() {}
  bool IsInvalidated() const { return FInvalidated; }

  // A serial number that is never reused, for posting to controls without a window.
  uint64_t SerialNumber() const { return FSerial; }
  // The left button went down on the control; releasing it clicks.
  bool ClickPending() const { return FClicked; }

  // A control named in code shows its name until it gets a caption of its own.
  void SetName(const AnsiString& value) override;
  // A resource nests controls in their parent window.
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  bool HasParent() const override { return true; }

protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();
  // Called after Text changed.
  virtual void TextChanged() {}
  virtual void FontChanged();
  virtual void VisibleChanging() {}
  virtual void EnabledChanged() {}
  // The size AutoSize gives the control; the current one by default.
  virtual void AdjustSize() {}
  // The parent's font or colour changed; followed when ParentFont/ParentColor.
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  virtual void ParentShowHintChanged();

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  bool FAutoSize = false;
  bool FInvalidated = false;

private:
  friend class TWinControl;
  friend class TCustomForm;
  void RequestAlign();
  void FontOnChange(TObject* sender);
  void ApplyFontChange();

  AnsiString FText;
  TAlign FAlign = alNone;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TCursor FCursor = crDefault;
  TPopupMenu* FPopupMenu = nullptr;
  uint64_t FSerial;
  bool FClicked = false;
};

// The form a control sits on (walking the parents), nullptr when none.
TCustomForm* GetParentForm(const TControl* control);
// As GetParentForm; raises EInvalidOperation "Control '%s' has no parent window" when none.
TCustomForm* ValidParentForm(const TControl* control);

// ---- TWinControl ----------------------------------------------------------------------

class TWinControl : public TControl {
  TAVO_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  // Destroys the child controls (last first) before the component frees what it owns.
  ~TWinControl() override;

  int GetControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* GetControl(int index) const;
  const std::vector<TControl*>& Controls() const { return FControls; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;  // itself or any descendant
  TControl* FindChildControl(const AnsiString& name) const;
  void Broadcast(TMessage& message);

  // TabOrder: the position in the parent's tab list; values out of range are clamped to
  // the first or last place and the others renumbered, as the VCL does. While the
  // control is read from a resource the value is kept and applied once its parent is
  // read (-1 without a parent).
  int GetTabOrder() const;
  void SetTabOrder(int value);
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool value);
  // The windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return FTabList; }
  // Depth-first over the tab order: each child, then its own list.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  // Focuses the next (previous) focusable control after current; with checkTabStop only
  // tab stops are considered, without it only direct children.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectFirst();

  // The window handle, created on first use and registered in the process's table.
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != 0; }
  void HandleNeeded() { GetHandle(); }
  void DestroyHandle();

  virtual bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when the
  // control or its form cannot take the focus.
  virtual void SetFocus();

  // The keys the control handles itself (DLGC_ flags): the others serve dialog navigation
  // (Tab, arrows, Enter, Escape).
  virtual int DialogCode() const { return 0; }
  // Whether a click gives the control the focus (standard controls that are tab stops do).
  virtual bool FocusOnClick() const { return GetTabStop(); }

  TImeMode ImeMode = imDontCare;
  AnsiString ImeName;
  bool Ctl3D = true;
  bool ParentCtl3D = true;
  TBevelEdges BevelEdges{beLeft, beTop, beRight, beBottom};
  TBevelCut BevelInner = bvRaised;
  TBevelCut BevelOuter = bvLowered;
  TBevelKind BevelKind = bkNone;
  int BevelWidth = 1;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Lays out the aligned children: alTop, alBottom, alLeft, alRight, then alClient, each
  // group in the order of its position along the edge.
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;

  // Keys and characters as they arrive: the form's preview first (when it has
  // KeyPreview), then the control's own handling. Answer true when the key was consumed
  // (set to 0).
  bool DoKeyDown(Word& key, TShiftState shift);
  bool DoKeyPress(char& key);
  bool DoKeyUp(Word& key, TShiftState shift);

  // Reorders the tab list by the TabOrder values read from a resource.
  void FixupTabList();

protected:
  friend class TCustomForm;
  virtual void CreateWnd() {}
  virtual void DestroyWnd() {}
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // What the window does with a key or character nobody consumed (an edit inserts it).
  virtual void DefaultKeyDown(Word key, TShiftState shift) {}
  virtual void DefaultKeyUp(Word key, TShiftState shift) {}
  virtual void DefaultChar(char key) {}
  void DefaultHandler(TMessage& message) override;
  void FontChanged() override;
  void ParentFontChanged() override;
  void ParentColorChanged() override;
  void ParentShowHintChanged() override;
  // Arranges the aligned children inside rect; `control` (whose placement just changed)
  // goes first in its group.
  virtual void AlignControls(TControl* control, TRect& rect);
  // The part of the client area children are aligned in (a panel leaves out its bevels).
  virtual void AdjustClientRect(TRect& rect) {}
  // Called when a child was inserted (true) or removed (false).
  virtual void ControlListChange(TControl* control, bool inserting) {}

private:
  friend class TControl;
  void UpdateTabOrder(int value);

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  HWND FHandle = 0;
  bool FTabStop = false;
  int FTabOrderRead = -1;
  int FAlignLevel = 0;
  bool FAligning = false;
};

// ---- Painted controls -----------------------------------------------------------------

// The canvas of a control: draws on a pixel buffer of the control's client size, made
// afresh on every Repaint, so tests can read what Paint drew.
class TControlCanvas : public TCanvas {
  TAVO_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas();
  ~TControlCanvas() override;
  TPixelSurface* Surface() const override;
  void Resize(int width, int height);

private:
  std::unique_ptr<TBitmap> FBitmap;
};

class TGraphicControl : public TControl {
  TAVO_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  void Repaint() override;

protected:
  virtual void Paint() {}

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
  TAVO_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  void Repaint() override;

protected:
  virtual void Paint() {}

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- Messages between windows ---------------------------------------------------------

// The control owning a window handle, nullptr for an unknown or destroyed one.
TWinControl* FindControl(HWND handle);

// Queues a message; Application->ProcessMessages delivers it. A message for a control
// destroyed in the meantime is dropped. Answers false for an unknown handle.
bool PostMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
bool PostMessage(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam);
// Delivers at once; 0 for an unknown handle.
LRESULT SendMessage(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
// Delivers every queued message, including those posted meanwhile (up to a bound that
// stops a handler posting to itself for ever); answers how many.
int DeliverPostedMessages();
// A window handle that belongs to no control: its messages go to handler.
HWND AllocateHWnd(std::function<void(TMessage&)> handler);
void DeallocateHWnd(HWND handle);
// Messages waiting (for tests and the application's idle check).
int PostedMessageCount();

// Pointers travel in the long parameter of messages such as WM_USER + 10.
inline LPARAM ControlToLParam(const TControl* control) { return reinterpret_cast<LPARAM>(control); }
inline TControl* LParamToControl(LPARAM value) { return reinterpret_cast<TControl*>(value); }

// ---- A person at the keyboard and mouse -----------------------------------------------

// The control with the focus (the active form's focused control), nullptr when none.
TWinControl* FocusedControl();

// Presses and releases a key on control (focusing it first when it is not focused; a
// control that cannot take the focus ignores the key), as Windows and the VCL process it:
// dialog keys first (Tab and Shift+Tab walk the tab order; arrows move between controls
// that do not want them; Enter clicks the default button and Escape the cancel button),
// otherwise key down (the form's preview first), the character it types (key press, the
// form's preview first), and key up. Alt with a key, and a character the control does not
// want (DialogCode without DLGC_WANTCHARS), go to the form as CM_DIALOGCHAR first: the
// control whose caption marks that "&" accelerator takes it. Answers false when the key
// was ignored.
bool PressKey(TWinControl* control, Word key, TShiftState shift = {});
// The same on the focused control of the active form.
bool PressKey(Word key, TShiftState shift = {});
// Types text into control: each character as its key (or, where no key produces it, such
// as a double-byte character, as the characters an input method delivers).
bool TypeText(TWinControl* control, const AnsiString& text);
// Presses the left button on the control and releases it: a windowed control that takes
// the focus on a click is focused first (and is not clicked when the focus did not
// arrive); a disabled or hidden control ignores it. Answers whether Click ran.
bool ClickControl(TControl* control);
bool DoubleClickControl(TControl* control);

// The window with the keyboard focus as Windows tracks it; forms set it as they move the
// focus. FocusByMouse is true while a click moves the focus.
void SetFocusedWindow(TWinControl* control);
bool FocusByMouse();

// The character a key types with the given shift state ('\0' when none), US layout.
char KeyToChar(Word key, TShiftState shift);
