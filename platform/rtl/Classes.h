// String lists: the abstract TStrings and the TStringList that stores its lines.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <functional>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list of lines, each with an associated object. Descendants store the lines;
// everything else (names and values, the text forms, searching) is built on the five
// storage operations.
class TStrings : public TPersistent {
  TAVO_CLASS(TStrings, TPersistent)
public:
  // ---- storage, supplied by descendants ----
  virtual AnsiString Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void InsertObject(int index, const AnsiString& s, TObject* object) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  // Replaces the line, keeping its object.
  virtual void Put(int index, const AnsiString& s);

  int Count() const { return GetCount(); }
  AnsiString operator[](int index) const { return Get(index); }

  // ---- adding and moving lines ----
  virtual int Add(const AnsiString& s);
  virtual int AddObject(const AnsiString& s, TObject* object);
  void Append(const AnsiString& s) { Add(s); }
  void Insert(int index, const AnsiString& s) { InsertObject(index, s, nullptr); }
  virtual void AddStrings(const TStrings* strings);
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  // Copies the lines, objects and text settings of another TStrings.
  void Assign(const TPersistent* source) override;

  // ---- searching ----
  virtual int IndexOf(const AnsiString& s) const;
  virtual int IndexOfName(const AnsiString& name) const;
  virtual int IndexOfObject(const TObject* object) const;
  // Same lines in the same order, compared exactly.
  bool Equals(const TStrings* strings) const;

  // ---- name=value lines ----
  // The part before NameValueSeparator; empty when the line has none.
  AnsiString GetName(int index) const;
  AnsiString GetValue(const AnsiString& name) const;
  // An empty value removes the line.
  void SetValue(const AnsiString& name, const AnsiString& value);
  AnsiString GetValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const AnsiString& value);

  // ---- text forms ----
  // Every line followed by CR LF; setting splits at CR, LF or CR LF.
  AnsiString GetText() const;
  void SetText(const AnsiString& text);
  // Items separated by Delimiter, quoted with QuoteChar when they hold blanks, the
  // delimiter or the quote; reading splits at delimiters and blanks outside quotes.
  AnsiString GetDelimitedText() const;
  void SetDelimitedText(const AnsiString& text);
  // The delimited form with ',' and '"', whatever Delimiter and QuoteChar are.
  AnsiString GetCommaText() const;
  void SetCommaText(const AnsiString& text);

  // ---- batching of change notifications ----
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  char Delimiter = ',';
  char QuoteChar = '"';
  char NameValueSeparator = '=';

protected:
  // Called when the first BeginUpdate starts a batch (true) and the last EndUpdate
  // ends it (false).
  virtual void SetUpdateState(bool updating);
  // Compares two lines the way IndexOf and IndexOfName match them.
  virtual int CompareStrings(const AnsiString& s1, const AnsiString& s2) const;
  // Raises EStringListError "List index out of bounds (index)".
  [[noreturn]] static void IndexError(int index);

private:
  int FUpdateCount = 0;
};

class TStringList;
// Negative, zero or positive as the line at index1 sorts before, with or after index2.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
  TAVO_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  ~TStringList() override;

  AnsiString Get(int index) const override;
  int GetCount() const override;
  void InsertObject(int index, const AnsiString& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  // On a sorted list, raises EStringListError "Operation not allowed on sorted list".
  void Put(int index, const AnsiString& s) override;

  // On a sorted list the line goes to its place; Duplicates decides about equal lines.
  int Add(const AnsiString& s) override;
  int AddObject(const AnsiString& s, TObject* object) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const AnsiString& s) const override;

  // Binary search of a sorted list: true when s is present, index is its first
  // position, or else the position where it would go.
  bool Find(const AnsiString& s, int& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);

  TDuplicates Duplicates = dupIgnore;
  std::function<void(TObject* sender)> OnChange;
  std::function<void(TObject* sender)> OnChanging;

protected:
  void SetUpdateState(bool updating) override;
  int CompareStrings(const AnsiString& s1, const AnsiString& s2) const override;
  virtual void Changing();
  virtual void Changed();

private:
  struct TStringItem {
    AnsiString FString;
    TObject* FObject;
  };
  static int CompareItems(TStringList* list, int index1, int index2);
  void SortItems(const TStringListSortCompare& compare);
  void CheckIndex(int index, int count) const;
  void InsertItem(int index, const AnsiString& s, TObject* object);

  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
};
