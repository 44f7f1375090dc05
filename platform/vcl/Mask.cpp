#include "platform/vcl/Mask.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Dialogs.h"

#include <algorithm>

namespace {

constexpr char mDirReverse = '!';
constexpr char mDirUpperCase = '>';
constexpr char mDirLowerCase = '<';
constexpr char mDirLiteral = '\\';
constexpr char mMskTimeSeparator = ':';
constexpr char mMskDateSeparator = '/';

bool IsOptionalMaskChar(char c) { return c == 'l' || c == 'a' || c == 'c' || c == '9' || c == '#'; }
bool IsRequiredMaskChar(char c) { return c == 'L' || c == 'A' || c == 'C' || c == '0'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool FitsClass(char maskChar, char c) {
  switch (maskChar) {
    case 'L':
    case 'l': return IsAsciiLetter(c);
    case 'A':
    case 'a': return IsAsciiLetter(c) || IsDigit(c);
    case 'C':
    case 'c': return static_cast<unsigned char>(c) >= ' ';
    case '0':
    case '9': return IsDigit(c);
    case '#': return IsDigit(c) || c == '+' || c == '-';
    default: return false;
  }
}

// The role of a byte (1-based) of the mask within double-byte characters.
bool IsSingleByte(const AnsiString& s, int index) { return ByteType(s, index) == mbSingleByte; }

}  // namespace

TMaskCharType MaskGetCharType(const AnsiString& editMask, int maskOffset) {
  const int len = static_cast<int>(editMask.size());
  if (maskOffset < 1 || maskOffset > len) return mcNone;
  const char c = editMask[maskOffset - 1];
  if (!IsSingleByte(editMask, maskOffset)) return mcLiteral;
  // A character after "\" is literal, unless that "\" is itself escaped.
  if (maskOffset > 1 && editMask[maskOffset - 2] == mDirLiteral && IsSingleByte(editMask, maskOffset - 1) &&
      !(maskOffset > 2 && editMask[maskOffset - 3] == mDirLiteral && IsSingleByte(editMask, maskOffset - 2)))
    return mcLiteral;
  if (c == MaskFieldSeparator && len >= 4 && maskOffset > len - 4) return mcFieldSeparator;
  if (len >= 4 && maskOffset > len - 4 && maskOffset > 1 && editMask[maskOffset - 2] == MaskFieldSeparator &&
      !(maskOffset > 2 && editMask[maskOffset - 3] == mDirLiteral && ByteType(editMask, maskOffset - 2) != mbTrailByte))
    return mcField;
  if (c == mMskTimeSeparator || c == mMskDateSeparator) return mcIntlLiteral;
  if (c == mDirReverse || c == mDirUpperCase || c == mDirLowerCase || c == mDirLiteral) return mcDirective;
  if (IsOptionalMaskChar(c)) return mcMaskOpt;
  if (IsRequiredMaskChar(c)) return mcMask;
  return mcLiteral;
}

namespace {

// The offset (1-based) of the first field separator, 0 when the mask has none.
int FirstFieldSeparator(const AnsiString& editMask) {
  const int len = static_cast<int>(editMask.size());
  int first = 0;
  for (int i = len; i >= 1 && i >= len - 4; --i)
    if (MaskGetCharType(editMask, i) == mcFieldSeparator) first = i;
  return first;
}

}  // namespace

bool MaskGetMaskSave(const AnsiString& editMask) {
  const int sep = FirstFieldSeparator(editMask);
  if (sep == 0 || sep == static_cast<int>(editMask.size())) return true;
  return editMask[sep] != MaskNoSave;
}

char MaskGetMaskBlank(const AnsiString& editMask) {
  const int len = static_cast<int>(editMask.size());
  // The blank field counts only after a save field.
  if (len >= 4 && MaskGetCharType(editMask, len - 1) == mcFieldSeparator &&
      (MaskGetCharType(editMask, len - 2) == mcFieldSeparator || MaskGetCharType(editMask, len - 3) == mcFieldSeparator))
    return editMask[len - 1];
  return DefaultBlank;
}

TEditMask::TEditMask(const AnsiString& editMask) : FEditMask(editMask) {
  SaveLiterals = MaskGetMaskSave(editMask);
  Blank = MaskGetMaskBlank(editMask);
  TCase current = ccNone;
  const int len = static_cast<int>(editMask.size());
  for (int i = 1; i <= len; ++i) {
    const char c = editMask[i - 1];
    switch (MaskGetCharType(editMask, i)) {
      case mcNone:
      case mcFieldSeparator:
      case mcField: break;
      case mcDirective:
        if (c == mDirReverse)
          Reverse = true;
        else if (c == mDirUpperCase)
          current = (i > 1 && editMask[i - 2] == mDirLowerCase) ? ccNone : ccUpper;
        else if (c == mDirLowerCase)
          current = ccLower;
        break;
      case mcLiteral: Positions.push_back(TPosition{true, c, current}); break;
      case mcIntlLiteral:
        Positions.push_back(TPosition{true, c == mMskTimeSeparator ? TimeSeparator : DateSeparator, current});
        break;
      case mcMask:
      case mcMaskOpt: Positions.push_back(TPosition{false, c, current}); break;
    }
  }
}

char TEditMask::ApplyCase(const TPosition& p, char c) const {
  switch (p.Case) {
    case ccNone: return c;
    case ccUpper: return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    case ccLower: return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return c;
}

AnsiString TEditMask::BlankEditText() const {
  AnsiString r;
  for (const TPosition& p : Positions) r += p.Literal ? p.Char : Blank;
  return r;
}

AnsiString TEditMask::TextToEditText(const AnsiString& text) const {
  const int n = Length();
  AnsiString r = BlankEditText();
  auto place = [&](int pos, char c) { r[pos] = c == ' ' ? Blank : ApplyCase(Positions[pos], c); };
  if (!Reverse) {
    size_t in = 0;
    for (int pos = 0; pos < n; ++pos) {
      const TPosition& p = Positions[pos];
      if (p.Literal) {
        if (SaveLiterals && in < text.size() && text[in] == p.Char) ++in;
      } else if (in < text.size()) {
        place(pos, text[in++]);
      }
    }
  } else {
    int in = static_cast<int>(text.size()) - 1;
    for (int pos = n - 1; pos >= 0; --pos) {
      const TPosition& p = Positions[pos];
      if (p.Literal) {
        if (SaveLiterals && in >= 0 && text[in] == p.Char) --in;
      } else if (in >= 0) {
        place(pos, text[in--]);
      }
    }
  }
  return r;
}

AnsiString TEditMask::EditTextToText(const AnsiString& editText) const {
  const AnsiString edit = NormalizeEditText(editText);
  AnsiString chars;
  for (int pos = 0; pos < Length(); ++pos)
    if (!Positions[pos].Literal) chars += edit[pos];
  if (Reverse) {
    const size_t first = chars.find_first_not_of(Blank);
    chars.erase(0, first == AnsiString::npos ? chars.size() : first);
  } else {
    const size_t last = chars.find_last_not_of(Blank);
    chars.erase(last == AnsiString::npos ? 0 : last + 1);
  }
  std::replace(chars.begin(), chars.end(), Blank, ' ');
  if (!SaveLiterals) return chars;
  // Literals back in, unfilled positions as blanks (spaces).
  AnsiString r(Positions.size(), ' ');
  const int n = Length();
  if (!Reverse) {
    size_t in = 0;
    for (int pos = 0; pos < n; ++pos) {
      if (Positions[pos].Literal)
        r[pos] = Positions[pos].Char;
      else if (in < chars.size())
        r[pos] = chars[in++];
    }
  } else {
    int in = static_cast<int>(chars.size()) - 1;
    for (int pos = n - 1; pos >= 0; --pos) {
      if (Positions[pos].Literal)
        r[pos] = Positions[pos].Char;
      else if (in >= 0)
        r[pos] = chars[in--];
    }
  }
  return r;
}

AnsiString TEditMask::NormalizeEditText(const AnsiString& editText) const {
  AnsiString r = BlankEditText();
  for (int pos = 0; pos < Length() && pos < static_cast<int>(editText.size()); ++pos)
    if (!Positions[pos].Literal) r[pos] = ApplyCase(Positions[pos], editText[pos]);
  return r;
}

bool TEditMask::AcceptChar(int position, char c, char& accepted) const {
  if (position < 0 || position >= Length()) return false;
  const TPosition& p = Positions[position];
  if (p.Literal) return false;
  if (c == ' ' || c == Blank) {
    if (!IsOptionalMaskChar(p.Char) && !(p.Char == 'C' && c == ' ')) return false;
    accepted = c;
    return true;
  }
  if (!FitsClass(p.Char, c)) return false;
  accepted = ApplyCase(p, c);
  return true;
}

bool TEditMask::Validate(const AnsiString& editText, int& errorPosition) const {
  const AnsiString edit = NormalizeEditText(editText);
  for (int pos = 0; pos < Length(); ++pos) {
    const TPosition& p = Positions[pos];
    if (p.Literal) continue;
    const char c = edit[pos];
    bool ok;
    if (c == Blank)
      ok = IsOptionalMaskChar(p.Char);
    else if (c == ' ')
      ok = IsOptionalMaskChar(p.Char) || p.Char == 'C';
    else
      ok = FitsClass(p.Char, c);
    if (!ok) {
      errorPosition = pos;
      return false;
    }
  }
  errorPosition = -1;
  return true;
}

int TEditMask::NextEditable(int position) const {
  for (int pos = std::max(0, position); pos < Length(); ++pos)
    if (!Positions[pos].Literal) return pos;
  return -1;
}

int TEditMask::PrevEditable(int position) const {
  for (int pos = std::min(position, Length() - 1); pos >= 0; --pos)
    if (!Positions[pos].Literal) return pos;
  return -1;
}

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value) {
  TEditMask mask(editMask);
  if (!mask.IsMasked()) return value;
  AnsiString r = mask.TextToEditText(value);
  for (int pos = 0; pos < mask.Length(); ++pos)
    if (!mask.Positions[pos].Literal && r[pos] == mask.Blank) r[pos] = ' ';
  return r;
}

// ---- Masked edit ----------------------------------------------------------------------

const char* EDBEditError::ClassName() const { return "EDBEditError"; }

TAVO_CLASS_IMPL(TCustomMaskEdit, TCustomEdit)

TAVO_PUBLISHED(TMaskEdit, TCustomMaskEdit) {
  P.Publish({"Anchors", "AutoSelect", "AutoSize", "BiDiMode", "BorderStyle", "CharCase", "Color", "Ctl3D",
             "DragKind", "DragMode", "Enabled"});
  P.Str("EditMask", &TMaskEdit::GetEditMask, &TMaskEdit::SetEditMask);
  P.Publish({"Font", "ImeMode", "ImeName", "MaxLength", "ParentBiDiMode", "ParentColor", "ParentCtl3D",
             "ParentFont", "ParentShowHint", "PasswordChar", "PopupMenu", "ReadOnly", "ShowHint", "TabOrder",
             "TabStop", "Text", "Visible", "OnChange", "OnClick", "OnDblClick", "OnEnter", "OnExit",
             "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  P.Message(CM_WANTSPECIALKEY, &TMaskEdit::CMWantSpecialKey);
}

static TClassRegistration MaskEditClasses{TMaskEdit::StaticClass()};

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetRawText(const AnsiString& editText, int caret) {
  TCustomEdit::SetText(editText);
  FSelStart = std::clamp(caret, 0, static_cast<int>(editText.size()));
  FSelLength = 0;
}

void TCustomMaskEdit::TypedText(const AnsiString& editText, int caret) {
  TWinControl::SetText(editText);
  FSelStart = std::clamp(caret, 0, static_cast<int>(editText.size()));
  FSelLength = 0;
  Modified = true;
}

void TCustomMaskEdit::SetEditMask(const AnsiString& value) {
  if (value == FMask.GetEditMask()) return;
  // The characters typed so far, without literals and trailing blanks.
  AnsiString chars;
  if (FMask.IsMasked()) {
    TEditMask old = FMask;
    old.SaveLiterals = false;
    chars = old.EditTextToText(GetEditText());
  } else {
    chars = GetEditText();
  }
  FMask = TEditMask(value);
  if (FMask.IsMasked()) {
    TEditMask fresh = FMask;
    fresh.SaveLiterals = false;
    SetMaxLength(FMask.Length());
    SetRawText(fresh.TextToEditText(chars), 0);
  } else {
    SetMaxLength(0);
    SetRawText(chars, 0);
  }
}

void TCustomMaskEdit::SetEditText(const AnsiString& value) {
  SetRawText(FMask.IsMasked() ? FMask.NormalizeEditText(value) : value, 0);
}

AnsiString TCustomMaskEdit::GetText() const {
  return FMask.IsMasked() ? FMask.EditTextToText(GetEditText()) : GetEditText();
}

void TCustomMaskEdit::SetText(const AnsiString& value) {
  if (!FMask.IsMasked()) {
    TCustomEdit::SetText(value);
    return;
  }
  SetRawText(FMask.TextToEditText(value), 0);
}

void TCustomMaskEdit::BlankSelection(AnsiString& edit) const {
  for (int i = FSelStart; i < FSelStart + FSelLength && i < FMask.Length(); ++i)
    if (!FMask.Positions[i].Literal) edit[i] = FMask.Blank;
}

void TCustomMaskEdit::DefaultChar(char key) {
  if (!FMask.IsMasked()) {
    TCustomEdit::DefaultChar(key);
    return;
  }
  if (GetReadOnly()) return;
  AnsiString edit = FMask.NormalizeEditText(GetEditText());
  if (key == '\b') {
    int caret = FSelStart;
    if (FSelLength > 0) {
      BlankSelection(edit);
    } else {
      const int pos = FMask.PrevEditable(FSelStart - 1);
      if (pos < 0) return;
      edit[pos] = FMask.Blank;
      caret = pos;
    }
    TypedText(edit, caret);
    return;
  }
  if (static_cast<unsigned char>(key) < ' ') return;
  const int pos = FMask.NextEditable(FSelStart);
  char stored = 0;
  if (pos < 0 || !FMask.AcceptChar(pos, key, stored)) return;
  if (FSelLength > 0) BlankSelection(edit);
  edit[pos] = stored;
  const int next = FMask.NextEditable(pos + 1);
  TypedText(edit, next < 0 ? pos + 1 : next);
}

void TCustomMaskEdit::DefaultKeyDown(Word key, TShiftState shift) {
  if (FMask.IsMasked() && key == VK_DELETE && shift.Empty()) {
    if (GetReadOnly()) return;
    AnsiString edit = FMask.NormalizeEditText(GetEditText());
    const int caret = FSelStart;
    if (FSelLength > 0) {
      BlankSelection(edit);
    } else {
      const int pos = FMask.NextEditable(FSelStart);
      if (pos < 0) return;
      edit[pos] = FMask.Blank;
    }
    TypedText(edit, caret);
    return;
  }
  TCustomEdit::DefaultKeyDown(key, shift);
}

void TCustomMaskEdit::ValidateEdit() {
  int pos = -1;
  if (FMask.IsMasked() && Modified && !FMask.Validate(GetEditText(), pos)) {
    FSelStart = std::max(0, pos);
    FSelLength = 0;
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
  }
}

void TCustomMaskEdit::Reset() {
  if (!Modified) return;
  SetRawText(FOldEditText, 0);
  Modified = false;
}

void TCustomMaskEdit::CMWantSpecialKey(TMessage& message) {
  if (message.WParam == VK_ESCAPE && FMask.IsMasked() && Modified) {
    Reset();
    message.Result = 1;
    return;
  }
  DispatchInherited(TCustomMaskEdit::StaticClass(), message);
}

void TCustomMaskEdit::DoEnter() {
  // Coming back after a refused exit keeps the text of the first entry.
  if (!FReEnter) FOldEditText = GetEditText();
  FReEnter = false;
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit() {
  try {
    ValidateEdit();
  } catch (const EDBEditError& e) {
    // As the application's exception handler does: say what is wrong, keep the focus.
    FReEnter = true;
    SetFocus();
    FReEnter = false;
    MessageDlg(e.Message, mtError, {mbOK}, 0);
    return;
  }
  TCustomEdit::DoExit();
}
