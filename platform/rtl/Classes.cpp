#include "platform/rtl/Classes.h"

#include <algorithm>
#include <utility>

TAVO_CLASS_IMPL(TStrings, TPersistent)
TAVO_CLASS_IMPL(TStringList, TStrings)

namespace {

size_t CharLen(const AnsiString& s, size_t i) {
  return (i + 1 < s.size() && IsDBCSLeadByteOfACP(static_cast<unsigned char>(s[i]))) ? 2 : 1;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Position just after the first NameValueSeparator of s that is a whole character.
size_t ValueStart(const AnsiString& s, char separator) {
  const int p = AnsiPos(AnsiString(1, separator), s);
  return p == 0 ? AnsiString::npos : static_cast<size_t>(p);
}

[[noreturn]] void SortedListError() { throw EStringListError("Operation not allowed on sorted list"); }

}  // namespace

// ---- TStrings ------------------------------------------------------------------------

void TStrings::IndexError(int index) {
  throw EStringListError(Format("List index out of bounds (%d)", {index}));
}

TObject* TStrings::GetObject(int index) const { return nullptr; }

void TStrings::PutObject(int index, TObject* object) {}

void TStrings::Put(int index, const AnsiString& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

int TStrings::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStrings::AddObject(const AnsiString& s, TObject* object) {
  const int index = GetCount();
  InsertObject(index, s, object);
  return index;
}

void TStrings::AddStrings(const TStrings* strings) {
  if (!strings) return;
  BeginUpdate();
  try {
    // Counted first, so adding a list to itself doubles it once.
    const int count = strings->GetCount();
    for (int i = 0; i < count; ++i) AddObject(strings->Get(i), strings->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
  const AnsiString s1 = Get(index1), s2 = Get(index2);
  TObject* o1 = GetObject(index1);
  TObject* o2 = GetObject(index2);
  BeginUpdate();
  try {
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (newIndex < 0 || newIndex >= GetCount()) IndexError(newIndex);
  const AnsiString s = Get(curIndex);
  TObject* object = GetObject(curIndex);
  BeginUpdate();
  try {
    Delete(curIndex);
    InsertObject(newIndex, s, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent* source) {
  const TStrings* other = dynamic_cast<const TStrings*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    Delimiter = other->Delimiter;
    QuoteChar = other->QuoteChar;
    NameValueSeparator = other->NameValueSeparator;
    AddStrings(other);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const AnsiString& s) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& name) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    const AnsiString s = Get(i);
    const size_t start = ValueStart(s, NameValueSeparator);
    if (start != AnsiString::npos && CompareStrings(s.substr(0, start - 1), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings* strings) const {
  if (!strings) return false;
  const int count = GetCount();
  if (count != strings->GetCount()) return false;
  for (int i = 0; i < count; ++i)
    if (Get(i) != strings->Get(i)) return false;
  return true;
}

AnsiString TStrings::GetName(int index) const {
  const AnsiString s = Get(index);
  const size_t start = ValueStart(s, NameValueSeparator);
  return start == AnsiString::npos ? AnsiString() : s.substr(0, start - 1);
}

AnsiString TStrings::GetValue(const AnsiString& name) const {
  const int i = IndexOfName(name);
  return i < 0 ? AnsiString() : GetValueFromIndex(i);
}

void TStrings::SetValue(const AnsiString& name, const AnsiString& value) {
  const int i = IndexOfName(name);
  if (!value.empty()) {
    const AnsiString line = name + NameValueSeparator + value;
    if (i < 0) Add(line);
    else Put(i, line);
  } else if (i >= 0) {
    Delete(i);
  }
}

AnsiString TStrings::GetValueFromIndex(int index) const {
  if (index < 0) return AnsiString();
  const AnsiString s = Get(index);
  const size_t start = ValueStart(s, NameValueSeparator);
  return start == AnsiString::npos ? AnsiString() : s.substr(start);
}

void TStrings::SetValueFromIndex(int index, const AnsiString& value) {
  if (!value.empty()) {
    if (index < 0) index = Add(AnsiString());
    Put(index, GetName(index) + NameValueSeparator + value);
  } else if (index >= 0) {
    Delete(index);
  }
}

AnsiString TStrings::GetText() const {
  AnsiString r;
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    r += Get(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const AnsiString& text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    while (i < text.size()) {
      const size_t start = i;
      while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
      Add(text.substr(start, i - start));
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::GetDelimitedText() const {
  const int count = GetCount();
  if (count == 1 && Get(0).empty()) return AnsiString(2, QuoteChar);
  AnsiString r;
  for (int i = 0; i < count; ++i) {
    const AnsiString s = Get(i);
    bool quote = false;
    for (size_t k = 0; k < s.size() && !quote; k += CharLen(s, k))
      if (CharLen(s, k) == 1 && (IsBlank(s[k]) || s[k] == QuoteChar || s[k] == Delimiter)) quote = true;
    if (i > 0) r += Delimiter;
    r += quote ? AnsiQuotedStr(s, QuoteChar) : s;
  }
  return r;
}

void TStrings::SetDelimitedText(const AnsiString& text) {
  BeginUpdate();
  try {
    Clear();
    const size_t n = text.size();
    size_t i = 0;
    auto skipBlanks = [&]() {
      while (i < n && IsBlank(text[i])) ++i;
    };
    skipBlanks();
    while (i < n) {
      if (text[i] == QuoteChar) {
        Add(AnsiExtractQuotedStr(text, i, QuoteChar));
      } else {
        const size_t start = i;
        while (i < n && !IsBlank(text[i]) && !(text[i] == Delimiter && CharLen(text, i) == 1))
          i += CharLen(text, i);
        Add(text.substr(start, i - start));
      }
      skipBlanks();
      if (i < n && text[i] == Delimiter) {
        // A delimiter at the very end stands for one more, empty, item.
        if (i + 1 == n) Add(AnsiString());
        ++i;
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TStrings::GetCommaText() const {
  // The comma form ignores Delimiter and QuoteChar, so it reads from a copy that uses
  // the standard pair.
  struct TCommaView : TStrings {
    explicit TCommaView(const TStrings& source) : Source(source) {}
    AnsiString Get(int index) const override { return Source.Get(index); }
    int GetCount() const override { return Source.GetCount(); }
    void InsertObject(int, const AnsiString&, TObject*) override {}
    void Delete(int) override {}
    void Clear() override {}
    const TStrings& Source;
  } view(*this);
  return view.GetDelimitedText();
}

void TStrings::SetCommaText(const AnsiString& text) {
  const char delimiter = Delimiter, quoteChar = QuoteChar;
  Delimiter = ',';
  QuoteChar = '"';
  try {
    SetDelimitedText(text);
  } catch (...) {
    Delimiter = delimiter;
    QuoteChar = quoteChar;
    throw;
  }
  Delimiter = delimiter;
  QuoteChar = quoteChar;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool updating) {}

int TStrings::CompareStrings(const AnsiString& s1, const AnsiString& s2) const { return AnsiCompareText(s1, s2); }

// ---- TStringList ---------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) IndexError(index);
}

AnsiString TStringList::Get(int index) const {
  CheckIndex(index, GetCount());
  return FList[static_cast<size_t>(index)].FString;
}

int TStringList::GetCount() const { return static_cast<int>(FList.size()); }

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index, GetCount());
  return FList[static_cast<size_t>(index)].FObject;
}

void TStringList::Put(int index, const AnsiString& s) {
  if (FSorted) SortedListError();
  CheckIndex(index, GetCount());
  Changing();
  FList[static_cast<size_t>(index)].FString = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, GetCount());
  Changing();
  FList[static_cast<size_t>(index)].FObject = object;
  Changed();
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* object) {
  Changing();
  FList.insert(FList.begin() + index, TStringItem{s, object});
  Changed();
}

void TStringList::InsertObject(int index, const AnsiString& s, TObject* object) {
  if (FSorted) SortedListError();
  CheckIndex(index, GetCount() + 1);
  InsertItem(index, s, object);
}

void TStringList::Delete(int index) {
  CheckIndex(index, GetCount());
  Changing();
  FList.erase(FList.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

int TStringList::Add(const AnsiString& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const AnsiString& s, TObject* object) {
  int index = GetCount();
  if (FSorted && Find(s, index)) {
    switch (Duplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, GetCount());
  CheckIndex(index2, GetCount());
  Changing();
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  CheckIndex(curIndex, GetCount());
  CheckIndex(newIndex, GetCount());
  if (curIndex == newIndex) return;
  // Checked before anything moves, so a refused move loses no line.
  if (FSorted) SortedListError();
  Changing();
  TStringItem item = std::move(FList[static_cast<size_t>(curIndex)]);
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, std::move(item));
  Changed();
}

int TStringList::IndexOf(const AnsiString& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, int& index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = CompareStrings(FList[static_cast<size_t>(mid)].FString, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;
    }
  }
  index = lo;
  return found;
}

int TStringList::CompareItems(TStringList* list, int index1, int index2) {
  return list->CompareStrings(list->FList[static_cast<size_t>(index1)].FString,
                              list->FList[static_cast<size_t>(index2)].FString);
}

void TStringList::Sort() { CustomSort(&TStringList::CompareItems); }

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  // A sorted list is in order already; re-sorting it would break the order Find needs.
  if (FSorted || FList.size() < 2) return;
  SortItems(compare);
}

void TStringList::SortItems(const TStringListSortCompare& compare) {
  // A stable merge sort over positions: the lines stay where they are while the
  // comparison reads them by index, and a comparison that contradicts itself yields
  // some order instead of running off the list.
  const size_t n = FList.size();
  std::vector<int> order(n), buffer(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, out = lo;
      while (a < mid && b < hi) buffer[out++] = compare(this, order[b], order[a]) < 0 ? order[b++] : order[a++];
      while (a < mid) buffer[out++] = order[a++];
      while (b < hi) buffer[out++] = order[b++];
    }
    order.swap(buffer);
  }
  std::vector<TStringItem> sorted;
  sorted.reserve(n);
  for (int i : order) sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  Changing();
  FList = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (FSorted == value) return;
  if (value) Sort();
  FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (FCaseSensitive == value) return;
  FCaseSensitive = value;
  // The order Find relies on depends on the comparison, so a sorted list is re-sorted.
  if (FSorted && FList.size() > 1) SortItems(&TStringList::CompareItems);
}

int TStringList::CompareStrings(const AnsiString& s1, const AnsiString& s2) const {
  return FCaseSensitive ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
