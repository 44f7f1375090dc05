#include "module/controls/KvSpinEdit.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

TAVO_PUBLISHED(TKvSpinEdit, TSpinEdit) {}

namespace {
const TClassRegistration KvSpinEditClasses{TKvSpinEdit::StaticClass()};

bool SignAfterFirst(const AnsiString& text, char sign) { return text.find(sign, 1) != AnsiString::npos; }
}  // namespace

TKvSpinEdit::TKvSpinEdit(TComponent* AOwner) : TSpinEdit(AOwner) {}

void TKvSpinEdit::Change() {
  const AnsiString text = GetText();
  if (SignAfterFirst(text, '+') || SignAfterFirst(text, '-')) {
    // Setting the text runs this again on the shorter text, which reports the change;
    // the caret stays where the typing left it.
    const int caret = GetSelStart();
    const bool modified = Modified;
    SetText(text.substr(0, text.size() - 1));
    SetSelStart(std::min(caret, static_cast<int>(GetText().size())));
    Modified = modified;
    return;
  }
  if (!Trim(text).empty()) TSpinEdit::Change();
}
