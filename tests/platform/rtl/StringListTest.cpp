#include "platform/rtl/Classes.h"
#include "tests/platform/rtl/RtlFixture.h"

#include <ostream>
#include <vector>

namespace {

std::vector<AnsiString> Lines(const TStrings& list) {
  std::vector<AnsiString> r;
  for (int i = 0; i < list.Count(); ++i) r.push_back(list[i]);
  return r;
}

TStringList* Filled(TStringList& list, std::initializer_list<const char*> lines) {
  for (const char* s : lines) list.Add(s);
  return &list;
}

using TStringListTest = TRtlTest;

TEST_F(TStringListTest, IsRegisteredAsAPersistentClass) {
  TStringList list;
  const TStrings& strings = list;
  EXPECT_EQ(strings.ClassName(), "TStringList");
  EXPECT_TRUE(strings.InheritsFrom(TStrings::StaticClass()));
  EXPECT_TRUE(strings.InheritsFrom(TPersistent::StaticClass()));
}

TEST_F(TStringListTest, NamesAndValues) {
  TStringList list;
  Filled(list, {"a=1", "Bee=2", "plain", "k=v=w", "=nameless"});
  EXPECT_EQ(list.GetName(0), "a");
  EXPECT_EQ(list.GetName(2), "");
  EXPECT_EQ(list.GetName(4), "");
  EXPECT_EQ(list.GetValue("bee"), "2");
  EXPECT_EQ(list.GetValue("k"), "v=w");
  EXPECT_EQ(list.GetValue("plain"), "");
  EXPECT_EQ(list.GetValue("missing"), "");
  EXPECT_EQ(list.IndexOfName("BEE"), 1);
  EXPECT_EQ(list.IndexOfName("plain"), -1);
  EXPECT_EQ(list.GetValueFromIndex(3), "v=w");
  EXPECT_EQ(list.GetValueFromIndex(2), "");
  EXPECT_EQ(list.GetValueFromIndex(-1), "");

  list.SetValue("a", "9");
  list.SetValue("new", "x");
  list.SetValue("BEE", "");
  list.SetValue("absent", "");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a=9", "plain", "k=v=w", "=nameless", "new=x"}));
  list.SetValueFromIndex(2, "z");
  list.SetValueFromIndex(-1, "tail");
  EXPECT_EQ(list[2], "k=z");
  EXPECT_EQ(list[5], "=tail");

  list.NameValueSeparator = ':';
  list.Add("host:server");
  EXPECT_EQ(list.GetValue("HOST"), "server");

  // A GB character whose trail byte is the separator is part of the name.
  TStringList gb;
  gb.NameValueSeparator = '|';
  gb.Add("亅|value");
  EXPECT_EQ(gb.GetName(0), "亅");
  EXPECT_EQ(gb.GetValue("亅"), "value");
}

struct TTextCase {
  const char* Name;
  AnsiString Text;
  std::vector<AnsiString> Lines;
  AnsiString Back;
  friend std::ostream& operator<<(std::ostream& os, const TTextCase& c) { return os << c.Name; }
};

const TTextCase TextCases[] = {
    {"CrLf", "a\r\nb", {"a", "b"}, "a\r\nb\r\n"},
    {"Terminated", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
    {"BareLfAndCr", "a\nb\rc", {"a", "b", "c"}, "a\r\nb\r\nc\r\n"},
    {"EmptyLines", "a\r\r\n\nb", {"a", "", "", "b"}, "a\r\n\r\n\r\nb\r\n"},
    {"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
    {"Empty", "", {}, ""},
    {"OneEmptyLine", "\r\n", {""}, "\r\n"},
    {"BlanksKept", " a \t\r\n", {" a \t"}, " a \t\r\n"},
    {"DoubleByte", "中\r\n文", {"中", "文"}, "中\r\n文\r\n"},
};

class TTextTest : public TRtlTest, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(TTextTest, SplitsAtLineBreaksAndTerminatesEveryLine) {
  TStringList list;
  list.Add("old");
  list.SetText(GetParam().Text);
  EXPECT_EQ(Lines(list), GetParam().Lines);
  EXPECT_EQ(list.GetText(), GetParam().Back);
}

INSTANTIATE_TEST_SUITE_P(StringList, TTextTest, ::testing::ValuesIn(TextCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TCommaCase {
  const char* Name;
  std::vector<AnsiString> Lines;
  AnsiString Comma;
  friend std::ostream& operator<<(std::ostream& os, const TCommaCase& c) { return os << c.Name; }
};

// Each list writes as the text and reads back from it.
const TCommaCase CommaCases[] = {
    {"Plain", {"a", "b", "c"}, "a,b,c"},
    {"Blank", {"a b", "c"}, "\"a b\",c"},
    {"Comma", {"d,e"}, "\"d,e\""},
    {"Quotes", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
    {"ControlCharacter", {"a\tb"}, "\"a\tb\""},
    {"EmptyInside", {"a", "", "b"}, "a,,b"},
    {"EmptyAtEnd", {"a", ""}, "a,"},
    {"SingleEmpty", {""}, "\"\""},
    {"NoLines", {}, ""},
    {"DoubleByte", {"中文", "亅"}, "中文,亅"},
};

class TCommaTextTest : public TRtlTest, public ::testing::WithParamInterface<TCommaCase> {};

TEST_P(TCommaTextTest, RoundTrips) {
  TStringList list;
  for (const AnsiString& s : GetParam().Lines) list.Add(s);
  EXPECT_EQ(list.GetCommaText(), GetParam().Comma);
  TStringList back;
  back.Add("old");
  back.SetCommaText(GetParam().Comma);
  EXPECT_EQ(Lines(back), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(StringList, TCommaTextTest, ::testing::ValuesIn(CommaCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TStringListTest, CommaTextReadingSplitsAtBlanksOutsideQuotes) {
  TStringList list;
  list.SetCommaText("  a b , \"c, d\"  e,\"unterminated");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b", "c, d", "e", "unterminated"}));
  list.SetCommaText("x,\"\",y");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"x", "", "y"}));
  list.SetCommaText("   ");
  EXPECT_EQ(list.Count(), 0);
  list.SetCommaText(AnsiString("a") + '\0' + "b");
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b"}));
}

TEST_F(TStringListTest, DelimitedTextWithOwnDelimiterAndQuote) {
  TStringList list;
  list.Delimiter = '|';
  list.QuoteChar = '\'';
  Filled(list, {"x y", "a|b", "it's", "亅", "plain"});
  // 亅 ends in the byte '|' but is one character, so it needs no quotes.
  EXPECT_EQ(list.GetDelimitedText(), "'x y'|'a|b'|'it''s'|亅|plain");
  // The comma form ignores the list's own delimiter and quote.
  EXPECT_EQ(list.GetCommaText(), "\"x y\",a|b,it's,亅,plain");
  EXPECT_EQ(list.Delimiter, '|');

  TStringList back;
  back.Delimiter = '|';
  back.QuoteChar = '\'';
  back.SetDelimitedText(list.GetDelimitedText());
  EXPECT_TRUE(back.Equals(&list));
  back.SetCommaText("p,q");
  EXPECT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Delimiter, '|');
  EXPECT_EQ(back.QuoteChar, '\'');
}

// ---- Sorting ----------------------------------------------------------------------------

struct TDuplicatesCase {
  const char* Name;
  TDuplicates Mode;
  bool Raises;
  std::vector<AnsiString> After;
  friend std::ostream& operator<<(std::ostream& os, const TDuplicatesCase& c) { return os << c.Name; }
};

const TDuplicatesCase DuplicatesCases[] = {
    {"Ignore", dupIgnore, false, {"apple", "Banana", "cherry"}},
    {"Accept", dupAccept, false, {"apple", "BANANA", "Banana", "cherry"}},
    {"Error", dupError, true, {"apple", "Banana", "cherry"}},
};

class TSortedTest : public TRtlTest, public ::testing::WithParamInterface<TDuplicatesCase> {};

TEST_P(TSortedTest, AddsInOrderAndHandlesDuplicates) {
  const TDuplicatesCase& c = GetParam();
  TStringList list;
  list.SetSorted(true);
  list.Duplicates = c.Mode;
  EXPECT_EQ(list.Add("cherry"), 0);
  EXPECT_EQ(list.Add("apple"), 0);
  EXPECT_EQ(list.Add("Banana"), 1);
  if (c.Raises) {
    try {
      list.Add("BANANA");
      FAIL() << "no exception";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message, "String list does not allow duplicates");
    }
  } else {
    EXPECT_EQ(list.Add("BANANA"), 1);
  }
  EXPECT_EQ(Lines(list), c.After);
  int index = -1;
  EXPECT_TRUE(list.Find("banana", index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(list.IndexOf("CHERRY"), static_cast<int>(c.After.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(StringList, TSortedTest, ::testing::ValuesIn(DuplicatesCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TStringListTest, SortedListRefusesPositionalChangesWithoutLosingLines) {
  TStringList list;
  Filled(list, {"b", "c", "a"});
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b", "c"}));
  int index = -1;
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf("zz"), -1);
  for (auto change : {+[](TStringList& l) { l.Insert(0, "z"); }, +[](TStringList& l) { l.Put(0, "z"); },
                      +[](TStringList& l) { l.Move(0, 2); }}) {
    try {
      change(list);
      ADD_FAILURE() << "no exception";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message, "Operation not allowed on sorted list");
    }
  }
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b", "c"}));
  list.SetValue("b", "1");  // a new line goes to its place
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b", "b=1", "c"}));
}

TEST_F(TStringListTest, SortingUsesTheLocaleAndCaseSetting) {
  TStringList list;
  Filled(list, {"b", "B", "才", "a", "匕", "A"});
  list.Sort();
  // Case-insensitive and stable: equal keys keep their order; pinyin after Latin.
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "A", "b", "B", "匕", "才"}));
  EXPECT_EQ(list.IndexOf("B"), 2);

  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("B"), 3);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "A", "b", "B", "匕", "才"}));
  // Changing the comparison re-sorts, so Find stays right.
  list.SetCaseSensitive(false);
  list.SetCaseSensitive(true);
  int index;
  EXPECT_TRUE(list.Find("B", index));
  EXPECT_EQ(index, 3);
}

TEST_F(TStringListTest, CustomSortCarriesObjects) {
  TStringList list;
  TStringList o1, o2, o3;
  list.AddObject("ccc", &o1);
  list.AddObject("a", &o2);
  list.AddObject("bb", &o3);
  list.CustomSort([](TStringList* l, int i, int j) {
    return static_cast<int>(l->Get(j).size()) - static_cast<int>(l->Get(i).size());
  });
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"ccc", "bb", "a"}));
  EXPECT_EQ(list.GetObject(0), &o1);
  EXPECT_EQ(list.GetObject(1), &o3);
  EXPECT_EQ(list.GetObject(2), &o2);
  // A comparison that contradicts itself still leaves every line in the list.
  int calls = 0;
  list.CustomSort([&calls](TStringList*, int, int) { return ++calls % 2 ? -1 : 1; });
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf("a") + list.IndexOf("bb") + list.IndexOf("ccc"), 3);
}

// ---- Positions ----------------------------------------------------------------------------

TEST_F(TStringListTest, OutOfBoundsIndexRaisesAndChangesNothing) {
  TStringList list;
  Filled(list, {"a", "b"});
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"(-1)", [&] { list.Get(-1); }},
      {"(2)", [&] { list.Get(2); }},
      {"(2)", [&] { list.Put(2, "x"); }},
      {"(5)", [&] { list.Delete(5); }},
      {"(3)", [&] { list.Insert(3, "x"); }},
      {"(-1)", [&] { list.GetObject(-1); }},
      {"(2)", [&] { list.PutObject(2, nullptr); }},
      {"(2)", [&] { list.Exchange(0, 2); }},
      {"(7)", [&] { list.Move(7, 0); }},
      {"(2)", [&] { list.Move(0, 2); }},
  };
  for (const auto& [suffix, call] : calls) {
    try {
      call();
      ADD_FAILURE() << "no exception for " << suffix;
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message, AnsiString("List index out of bounds ") + suffix);
    }
  }
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"a", "b"}));
  list.Insert(2, "c");  // inserting at Count appends
  EXPECT_EQ(list[2], "c");
}

TEST_F(TStringListTest, EditingPositions) {
  TStringList list;
  Filled(list, {"a", "b", "c", "d"});
  TStringList marker;
  list.PutObject(0, &marker);
  list.Exchange(0, 3);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"d", "b", "c", "a"}));
  EXPECT_EQ(list.GetObject(3), &marker);
  list.Move(3, 1);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"d", "a", "b", "c"}));
  EXPECT_EQ(list.IndexOfObject(&marker), 1);
  list.Put(1, "A");
  EXPECT_EQ(list.GetObject(1), &marker);
  list.Delete(0);
  EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"A", "b", "c"}));
  EXPECT_EQ(list.IndexOf("a"), 0);
  EXPECT_EQ(list.IndexOf("x"), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(TStringListTest, AssignAddStringsAndEquals) {
  TStringList source;
  TStringList marker;
  source.Delimiter = ';';
  source.NameValueSeparator = ':';
  source.AddObject("x", &marker);
  source.Add("y");
  TStringList copy;
  copy.Add("old");
  copy.Assign(&source);
  EXPECT_TRUE(copy.Equals(&source));
  EXPECT_EQ(copy.GetObject(0), &marker);
  EXPECT_EQ(copy.Delimiter, ';');
  EXPECT_EQ(copy.NameValueSeparator, ':');
  copy.Assign(&copy);
  EXPECT_EQ(copy.Count(), 2);

  copy.AddStrings(&copy);
  EXPECT_EQ(Lines(copy), (std::vector<AnsiString>{"x", "y", "x", "y"}));
  EXPECT_FALSE(copy.Equals(&source));
  TStringList differentCase;
  Filled(differentCase, {"X", "y"});
  EXPECT_FALSE(differentCase.Equals(&source));

  EXPECT_THROW(copy.Assign(nullptr), EConvertError);
  EXPECT_EQ(copy.Count(), 4);
}

TEST_F(TStringListTest, UpdatesBatchChangeNotifications) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    events.push_back("changing");
  };
  list.OnChange = [&](TObject*) { events.push_back("change"); };
  list.Add("a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));

  events.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  EXPECT_EQ(list.UpdateCount(), 2);
  list.Add("b");
  list.SetText("x\r\ny");
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
  EXPECT_EQ(list.UpdateCount(), 0);
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.UpdateCount(), 0);

  // Setting the text is one change, however many lines it has.
  events.clear();
  list.SetCommaText("1,2,3");
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));
}

}  // namespace
