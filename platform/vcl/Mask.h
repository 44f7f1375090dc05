// Edit masks and the masked edit.
//
// An edit mask has up to three fields separated by ";": the mask itself, whether the
// literal characters are part of Text ("0": no; anything else or absent: yes) and the
// character that shows an unfilled position (default "_"). Separators are recognised
// only among the last four characters, as the VCL does, so "99;0" has no fields.
//
// Mask characters: L letter, l optional letter; A letter or digit, a optional; C any
// character, c optional; 0 digit, 9 optional digit; # optional digit or sign; ":" and
// "/" the locale's time and date separators; "\" makes the next character a literal;
// ">" upper case and "<" lower case for what follows, "<>" neither; "!" anywhere keeps
// optional characters as leading rather than trailing blanks. Everything else, and each
// byte of a double-byte character, is a literal.
#pragma once

#include "platform/rtl/System.h"
#include "platform/vcl/StdCtrls.h"

#include <vector>

enum TMaskCharType { mcNone, mcLiteral, mcIntlLiteral, mcDirective, mcMask, mcMaskOpt, mcFieldSeparator, mcField };

constexpr char DefaultBlank = '_';
constexpr char MaskFieldSeparator = ';';
constexpr char MaskNoSave = '0';

// The kind of the mask character at a 1-based offset (mcNone beyond the end).
TMaskCharType MaskGetCharType(const AnsiString& editMask, int maskOffset);
// The second field: false only when it is "0".
bool MaskGetMaskSave(const AnsiString& editMask);
// The third field, or "_".
char MaskGetMaskBlank(const AnsiString& editMask);
// Value formatted under the mask with blanks as spaces: with saved literals Value is
// taken to hold them (missing ones are put in), otherwise it holds only the characters
// of the mask positions.
AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value);

// A parsed mask: one position per character of the edited text.
class TEditMask {
public:
  enum TCase { ccNone, ccUpper, ccLower };
  struct TPosition {
    bool Literal = false;  // a fixed character (Char)
    char Char = 0;         // the literal, or the mask character (L l A a C c 0 9 #)
    TCase Case = ccNone;
  };

  TEditMask() = default;
  explicit TEditMask(const AnsiString& editMask);

  bool IsMasked() const { return !Positions.empty(); }
  const AnsiString& GetEditMask() const { return FEditMask; }

  std::vector<TPosition> Positions;
  bool SaveLiterals = true;
  char Blank = DefaultBlank;
  bool Reverse = false;  // "!" present

  int Length() const { return static_cast<int>(Positions.size()); }
  // The edit text of an empty field: literals and the blank character.
  AnsiString BlankEditText() const;
  // Text (as the Text property takes it) to edit text; spaces become blanks, letters
  // follow the case directives, surplus characters are dropped.
  AnsiString TextToEditText(const AnsiString& text) const;
  // Edit text to Text: without saved literals the literals go, the blanks at the end
  // (at the start with "!") go and the other blanks become spaces; with saved literals
  // the literals stay and every blank is a space.
  AnsiString EditTextToText(const AnsiString& editText) const;
  // Any text laid over the positions one by one: literal positions keep their literal,
  // missing characters become blanks, letters follow the case directives.
  AnsiString NormalizeEditText(const AnsiString& editText) const;
  // Whether c may be typed at position (0-based) — blank and space are accepted only
  // where the position is optional. The returned character is c in the required case.
  bool AcceptChar(int position, char c, char& accepted) const;
  // Every required position filled and every character of its kind; on failure the
  // 0-based position of the first fault.
  bool Validate(const AnsiString& editText, int& errorPosition) const;
  // Next/previous editable position from position (inclusive); -1 when none.
  int NextEditable(int position) const;
  int PrevEditable(int position) const;

private:
  AnsiString FEditMask;
  char ApplyCase(const TPosition& p, char c) const;
};

// ---- Masked edit ----------------------------------------------------------------------

TAVO_EXCEPTION(EDBEditError, Exception)

// An edit whose text follows an edit mask. EditText is what the edit shows (literals and
// blanks included); Text is EditText without the literals when the mask does not save
// them, with blanks as spaces. Typing overwrites one position at a time and skips the
// literals; characters that do not fit their position are refused. Leaving a changed
// edit whose required positions are not all filled shows "Invalid input value.  Use
// escape key to abandon changes" and keeps the focus; Escape restores the text the edit
// had when it got the focus.
class TCustomMaskEdit : public TCustomEdit {
  TAVO_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  AnsiString GetEditMask() const { return FMask.GetEditMask(); }
  // Keeps the characters typed so far, laid out under the new mask.
  void SetEditMask(const AnsiString& value);
  bool IsMasked() const { return FMask.IsMasked(); }
  const TEditMask& Mask() const { return FMask; }

  AnsiString GetEditText() const { return TCustomEdit::GetText(); }
  void SetEditText(const AnsiString& value);
  AnsiString GetText() const override;
  void SetText(const AnsiString& value) override;

  // Raises EDBEditError (and puts the caret on the fault) when the edit was changed and
  // a required position is empty or holds a character of the wrong kind.
  void ValidateEdit();
  // Restores the text the edit had when it got the focus.
  void Reset();

  void CMWantSpecialKey(TMessage& message);

protected:
  void DefaultChar(char key) override;
  void DefaultKeyDown(Word key, TShiftState shift) override;
  void DoEnter() override;
  void DoExit() override;

private:
  // Text set by code (the edit counts as unmodified) and text changed by typing.
  void SetRawText(const AnsiString& editText, int caret);
  void TypedText(const AnsiString& editText, int caret);
  void BlankSelection(AnsiString& edit) const;

  TEditMask FMask;
  AnsiString FOldEditText;
  bool FReEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
  TAVO_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
