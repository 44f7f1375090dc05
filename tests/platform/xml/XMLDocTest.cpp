#include "platform/xml/XMLDoc.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/TestPrefix.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const std::string Platform936 = "[Platform]\r\nACP=936\r\n";

class XmlTest : public testing::Test {
protected:
  TTempPrefix Prefix{{"platform.ini", Platform936}};
  IXMLDOMDocument Doc = CoDOMDocument::Create();
};

// ---- Encodings of files ---------------------------------------------------------------

struct TEncodingCase {
  const char* Name;
  std::string FileBytes;
  const char* Expected;  // the attribute's value as the process reads it (code page 936)
};

std::ostream& operator<<(std::ostream& os, const TEncodingCase& c) { return os << c.Name; }

const TEncodingCase EncodingCases[] = {
    {"GB2312", "<?xml version=\"1.0\" encoding=\"GB2312\"?><L Caption=\"\xBB\xF9\xB1\xBE\xD1\xA1\xCF\xEE\"/>",
     "基本选项"},
    // Windows reads a declared GB2312 as code page 936, so GBK characters come through.
    {"GB2312WithGbkOnlyCharacter", "<?xml version=\"1.0\" encoding=\"gb2312\"?><L Caption=\"\x88\xD2\"/>", "堃"},
    {"GBK", "<?xml version=\"1.0\" encoding=\"GBK\"?><L Caption=\"\xB4\x5F\xB6\xA8\"/>", "確定"},
    {"BIG5", "<?xml version=\"1.0\" encoding=\"BIG5\"?><L Caption=\"\xB0\xF2\xA5\xBB\xBF\xEF\xB6\xB5\"/>",
     "基本選項"},
    {"UTF8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><L Caption=\"\xE5\x8F\x96\xE6\xB6\x88\"/>", "取消"},
    {"UTF8WithoutDeclaration", "<L Caption=\"\xE8\xAF\xAD\xE8\xA8\x80\"/>", "语言"},
    {"UTF8WithByteOrderMark", "\xEF\xBB\xBF<?xml version=\"1.0\"?><L Caption=\"\xE8\xAF\xAD\"/>", "语"},
};

class EncodingTest : public testing::TestWithParam<TEncodingCase> {
protected:
  TTempPrefix Prefix{{"platform.ini", Platform936}};
};

TEST_P(EncodingTest, FileIsDecodedAsDeclared) {
  const TEncodingCase& c = GetParam();
  Prefix.WriteFile("drive_c/Lang/T.Lng", c.FileBytes);
  IXMLDOMDocument doc = CoDOMDocument::Create();
  ASSERT_TRUE(doc.load("C:\\lang\\t.lng")) << doc.parseError().reason;
  EXPECT_EQ(VarToStr(doc.documentElement().getAttribute("Caption")), c.Expected);
  EXPECT_EQ(doc.selectSingleNode("//L/@Caption").text(), c.Expected);
}

TEST_P(EncodingTest, SaveWritesTheDeclaredEncodingBack) {
  const TEncodingCase& c = GetParam();
  Prefix.WriteFile("drive_c/In.xml", c.FileBytes);
  IXMLDOMDocument doc = CoDOMDocument::Create();
  ASSERT_TRUE(doc.load("C:\\In.xml"));
  doc.save("C:\\Out.xml");
  const std::string saved = Prefix.ReadFile("drive_c/Out.xml");
  // The value's bytes are those of the original file (no byte order mark is written).
  std::string original = c.FileBytes;
  if (original.rfind("\xEF\xBB\xBF", 0) == 0) original.erase(0, 3);
  const std::string value = original.substr(original.find("Caption=\""));
  EXPECT_NE(saved.find(value.substr(0, value.find("\"/>") + 1)), std::string::npos) << saved;
  IXMLDOMDocument again = CoDOMDocument::Create();
  ASSERT_TRUE(again.load("C:\\Out.xml")) << again.parseError().reason;
  EXPECT_EQ(VarToStr(again.documentElement().getAttribute("Caption")), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Xml, EncodingTest, testing::ValuesIn(EncodingCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(XmlTest, TextIsAlreadyDecodedWhateverItsDeclarationSays) {
  // ANSI text in the process code page; the declaration names another encoding.
  ASSERT_TRUE(Doc.loadXML(AnsiString("<?xml version=\"1.0\" encoding=\"BIG5\"?><R A=\"基本选项\"/>")))
      << Doc.parseError().reason;
  EXPECT_EQ(VarToStr(Doc.documentElement().getAttribute("A")), "基本选项");
  ASSERT_TRUE(Doc.loadXML(WideString(u"<R A=\"確定\"/>")));
  EXPECT_EQ(VarToStr(Doc.documentElement().getAttribute("A")), "確定");
}

TEST_F(XmlTest, UnknownEncodingIsAParseError) {
  Prefix.WriteFile("drive_c/x.xml", "<?xml version=\"1.0\" encoding=\"X-NOWHERE\"?><R/>");
  EXPECT_FALSE(Doc.load("C:\\x.xml"));
  EXPECT_NE(Doc.parseError().errorCode, 0);
  EXPECT_NE(Doc.parseError().reason.find("X-NOWHERE"), std::string::npos) << Doc.parseError().reason;
}

// ---- Parse errors ---------------------------------------------------------------------

TEST_F(XmlTest, ParseErrorCarriesReasonAndPosition) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<Old/>")));
  EXPECT_FALSE(Doc.loadXML(AnsiString("<?xml version=\"1.0\"?>\r\n<a>\r\n  <b></c>\r\n</a>")));
  const IXMLDOMParseError e = Doc.parseError();
  EXPECT_EQ(e.errorCode & 0xFFFFF000, XML_E_PARSE_BASE);
  EXPECT_NE(e.errorCode, XML_E_PARSE_BASE);
  EXPECT_NE(e.reason.find("b"), std::string::npos);
  EXPECT_EQ(e.reason.find('\n'), std::string::npos);
  EXPECT_EQ(e.line, 3);
  EXPECT_GT(e.linepos, 0);
  // A failed load leaves the document empty.
  EXPECT_FALSE(Doc.documentElement());
  EXPECT_FALSE(Doc.selectSingleNode("//Old"));
}

TEST_F(XmlTest, SuccessClearsTheParseError) {
  EXPECT_FALSE(Doc.loadXML(AnsiString("")));
  EXPECT_NE(Doc.parseError().errorCode, 0);
  EXPECT_TRUE(Doc.loadXML(AnsiString("<R/>")));
  EXPECT_EQ(Doc.parseError().errorCode, 0);
  EXPECT_EQ(Doc.parseError().reason, "");
}

TEST_F(XmlTest, MissingFileIsReportedWithItsName) {
  EXPECT_FALSE(Doc.load("C:\\Nowhere\\TfrmBaseGene.Lng"));
  EXPECT_EQ(Doc.parseError().errorCode, XML_E_OBJECT_NOT_FOUND);
  EXPECT_EQ(Doc.parseError().url, "C:\\Nowhere\\TfrmBaseGene.Lng");
  EXPECT_NE(Doc.parseError().reason.find("C:\\Nowhere\\TfrmBaseGene.Lng"), std::string::npos);
  EXPECT_FALSE(Doc.load(""));
  EXPECT_FALSE(Doc.load("C:\\"));  // a folder
  EXPECT_EQ(Doc.parseError().errorCode, XML_E_OBJECT_NOT_FOUND);
}

TEST_F(XmlTest, InternalEntityIsExpandedWithoutValidation) {
  Doc.put_validateOnParse(false);
  ASSERT_TRUE(Doc.loadXML(AnsiString("<?xml version=\"1.0\" encoding=\"GB2312\"?>"
                                     "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]><R A=\"x&stdd;\">&stdd;</R>")))
      << Doc.parseError().reason;
  EXPECT_EQ(Doc.documentElement().text(), "&stdd;");
  EXPECT_EQ(VarToStr(Doc.documentElement().getAttribute("A")), "x&stdd;");
}

TEST_F(XmlTest, DocumentTypeIsCheckedWhenValidating) {
  ASSERT_TRUE(Doc.validateOnParse());
  EXPECT_FALSE(Doc.loadXML(AnsiString("<!DOCTYPE SC[<!ENTITY stdd \"x\">]><R/>")));
  EXPECT_NE(Doc.parseError().reason, "");
  EXPECT_TRUE(Doc.loadXML(AnsiString("<!DOCTYPE R[<!ELEMENT R EMPTY>]><R/>"))) << Doc.parseError().reason;
}

TEST_F(XmlTest, ExternalEntitiesAreNotFetched) {
  Prefix.WriteFile("secret.txt", "SECRET");
  Doc.put_validateOnParse(false);
  const AnsiString text = "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + Prefix.Path("secret.txt") + "\">]><r>&x;</r>";
  const bool loaded = Doc.loadXML(text);
  const AnsiString content = loaded ? Doc.documentElement().text() : AnsiString();
  EXPECT_EQ(content.find("SECRET"), std::string::npos);
}

// ---- XPath ----------------------------------------------------------------------------

const char* const Language =
    "<TfrmBaseGene Caption=\"Options\">"
    "<Panel1><btnOk Caption=\"OK\" Hint=\"Confirm\"/></Panel1>"
    "<btnOk Caption=\"Second\"/>"
    "<sExeVer Msg=\"[Exe]\"/><sNoMsg Other=\"x\"/>"
    "<Record><Field name=\"Id\" value=\"7\"/><Field name=\"Name\" value=\"Li\"/></Record>"
    "<Record><Field name=\"Id\" value=\"8\"/></Record>"
    "</TfrmBaseGene>";

TEST_F(XmlTest, DescendantPatternFindsTheFirstElementInDocumentOrder) {
  ASSERT_TRUE(Doc.loadXML(AnsiString(Language)));
  const IXMLDOMNode ok = Doc.selectSingleNode("//btnOk");
  ASSERT_TRUE(ok);
  EXPECT_EQ(VarToStr(IXMLDOMElement(ok).getAttribute("Caption")), "OK");
  EXPECT_EQ(ok.parentNode().nodeName(), "Panel1");
  EXPECT_EQ(Doc.selectNodes("//btnOk").length(), 2);
}

TEST_F(XmlTest, AttributePatternSelectsTheAttributeNode) {
  ASSERT_TRUE(Doc.loadXML(AnsiString(Language)));
  const IXMLDOMNode msg = Doc.selectSingleNode(Format("//%s/@%s", {"sExeVer", "Msg"}));
  ASSERT_TRUE(msg);
  EXPECT_EQ(msg.nodeType(), NODE_ATTRIBUTE);
  EXPECT_EQ(msg.nodeName(), "Msg");
  EXPECT_EQ(msg.text(), "[Exe]");
  EXPECT_EQ(VarToStr(msg.nodeValue()), "[Exe]");
  EXPECT_FALSE(msg.parentNode());
  EXPECT_FALSE(Doc.selectSingleNode("//sNoMsg/@Msg"));
  EXPECT_FALSE(Doc.selectSingleNode("//sMissing/@Msg"));
}

TEST_F(XmlTest, RelativePatternsAndNodeLists) {
  ASSERT_TRUE(Doc.loadXML(AnsiString(Language)));
  const IXMLDOMNodeList records = Doc.selectNodes("//Record");
  ASSERT_EQ(records.length(), 2);
  EXPECT_EQ(VarToStr(IXMLDOMElement(records.item(0).selectSingleNode("Field[@name='Name']")).getAttribute("value")),
            "Li");
  EXPECT_EQ(VarToStr(IXMLDOMElement(records.item(1).selectSingleNode("Field[@name='Id']")).getAttribute("value")),
            "8");
  EXPECT_FALSE(records.item(1).selectSingleNode("Field[@name='Name']"));
  EXPECT_FALSE(records.item(2));
  EXPECT_FALSE(records.item(-1));
}

TEST_F(XmlTest, BadPatternsRaise) {
  ASSERT_TRUE(Doc.loadXML(AnsiString(Language)));
  EXPECT_THROW(Doc.selectSingleNode("//["), EOleException);
  EXPECT_THROW(Doc.selectNodes("count(//Record)"), EOleException);
}

// ---- Walking and changing -------------------------------------------------------------

TEST_F(XmlTest, AttributesAreWalkedInDocumentOrder) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<R Caption=\"A\" Items_3=\"D\" Font.Name=\"Tahoma\">t</R>")));
  const IXMLDOMNamedNodeMap attrs = Doc.documentElement().attributes();
  ASSERT_TRUE(attrs);
  ASSERT_EQ(attrs.length(), 3);
  EXPECT_EQ(attrs.item(1).nodeName(), "Items_3");
  EXPECT_EQ(attrs.item(2).nodeName(), "Font.Name");
  EXPECT_EQ(attrs.item(2).text(), "Tahoma");
  EXPECT_FALSE(attrs.item(3));
  EXPECT_EQ(attrs.getNamedItem("Caption").text(), "A");
  EXPECT_FALSE(Doc.documentElement().firstChild().attributes());
}

TEST_F(XmlTest, SetAttributeReplacesInPlaceAndGetAttributeIsNullWhenMissing) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<R A=\"1\" B=\"2\"/>")));
  IXMLDOMElement root = Doc.documentElement();
  root.setAttribute("A", "a&b<\"c\"");
  root.setAttribute("C", 3);
  EXPECT_EQ(root.xml(), "<R A=\"a&amp;b&lt;&quot;c&quot;\" B=\"2\" C=\"3\"/>");
  EXPECT_EQ(VarToStr(root.getAttribute("A")), "a&b<\"c\"");
  EXPECT_TRUE(VarIsNull(root.getAttribute("a")));
  root.removeAttribute("B");
  EXPECT_TRUE(VarIsNull(root.getAttribute("B")));
  EXPECT_EQ(root.attributes().length(), 2);
  EXPECT_THROW(root.setAttribute("bad name", "x"), EOleException);
}

TEST_F(XmlTest, BuildAndSerialiseADocument) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<?xml version=\"1.0\" encoding=\"GB2312\"?><Root/>")));
  IXMLDOMElement root = Doc.documentElement();
  for (int i = 1; i <= 2; ++i) {
    IXMLDOMElement r = Doc.createElement("R" + IntToStr(i));
    r.setAttribute("ID", "u" + IntToStr(i));
    r.setAttribute("Name", i == 1 ? "王小明" : "");
    root.appendChild(r);
  }
  IXMLDOMElement note = Doc.createElement("Note");
  note.put_text("一 & 二");
  root.appendChild(note);
  EXPECT_EQ(root.xml(), "<Root><R1 ID=\"u1\" Name=\"王小明\"/><R2 ID=\"u2\" Name=\"\"/><Note>一 &amp; 二</Note></Root>");
  EXPECT_EQ(Doc.xml(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n" + root.xml() + "\r\n");

  Doc.save("C:\\Notify.xml");
  const std::string bytes = Prefix.ReadFile("drive_c/Notify.xml");
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<Root>", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("Name=\"\xCD\xF5\xD0\xA1\xC3\xF7\""), std::string::npos) << bytes;
  IXMLDOMDocument again = CoDOMDocument::Create();
  ASSERT_TRUE(again.load("C:\\Notify.xml")) << again.parseError().reason;
  EXPECT_EQ(again.documentElement().xml(), root.xml());
}

TEST_F(XmlTest, DocumentBuiltInCodeHasNoDeclarationAndSavesAsUtf8) {
  IXMLDOMElement root = Doc.createElement("Root");
  EXPECT_FALSE(Doc.documentElement());
  Doc.appendChild(root);
  EXPECT_TRUE(Doc.documentElement() == root);
  root.appendChild(Doc.createTextNode("语言"));
  root.setAttribute("A", "语");
  EXPECT_EQ(Doc.xml(), "<Root A=\"语\">语言</Root>\r\n");
  Doc.save("C:\\u.xml");
  EXPECT_EQ(Prefix.ReadFile("drive_c/u.xml"), "<Root A=\"\xE8\xAF\xAD\">\xE8\xAF\xAD\xE8\xA8\x80</Root>\r\n");
}

TEST_F(XmlTest, CharactersOutsideTheCodePageStayExactInMarkup) {
  ASSERT_TRUE(Doc.loadXML(WideString(u"<R A=\"\U0001F600\">\u00DF\u20AC</R>")));
  EXPECT_EQ(Doc.documentElement().xml(), "<R A=\"&#x1F600;\">&#xDF;\x80</R>");
  EXPECT_EQ(Doc.documentElement().text(), "?\x80");
}

TEST_F(XmlTest, InsertionRulesAreEnforced) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<Root><A><B/></A></Root>")));
  IXMLDOMNode a = Doc.selectSingleNode("//A");
  IXMLDOMNode b = Doc.selectSingleNode("//B");
  EXPECT_THROW(b.appendChild(a), EOleException);      // below itself
  EXPECT_THROW(a.appendChild(a), EOleException);
  EXPECT_THROW(Doc.appendChild(Doc.createElement("Second")), EOleException);
  EXPECT_THROW(Doc.appendChild(Doc.createTextNode("x")), EOleException);
  EXPECT_THROW(b.appendChild(Doc.selectSingleNode("//A/@x | //B/@y")), EAccessViolation);
  IXMLDOMDocument other = CoDOMDocument::Create();
  EXPECT_THROW(a.appendChild(other.createElement("X")), EOleException);
  EXPECT_THROW(Doc.createElement("1st"), EOleException);
  EXPECT_THROW(b.removeChild(a), EOleException);
  // Moving a node keeps one copy of it.
  Doc.documentElement().appendChild(b);
  EXPECT_EQ(Doc.documentElement().xml(), "<Root><A/><B/></Root>");
}

TEST_F(XmlTest, DetachedNodesStayUsable) {
  ASSERT_TRUE(Doc.loadXML(AnsiString("<Root><A x=\"1\">text</A><B/></Root>")));
  IXMLDOMElement root = Doc.documentElement();
  IXMLDOMNode a = root.removeChild(Doc.selectSingleNode("//A"));
  IXMLDOMNode text = a.firstChild();
  a.put_text("new");                       // detaches the old text node
  EXPECT_EQ(text.text(), "text");
  EXPECT_FALSE(text.parentNode());
  EXPECT_EQ(root.xml(), "<Root><B/></Root>");
  root.appendChild(a);
  EXPECT_EQ(root.xml(), "<Root><B/><A x=\"1\">new</A></Root>");
  // A node outlives its document's reload and the document handle itself.
  IXMLDOMNode kept = Doc.selectSingleNode("//B");
  ASSERT_TRUE(Doc.loadXML(AnsiString("<Other/>")));
  Doc = IXMLDOMDocument();
  EXPECT_EQ(kept.nodeName(), "B");
  EXPECT_EQ(kept.parentNode().nodeName(), "Root");
  EXPECT_EQ(kept.ownerDocument().documentElement().nodeName(), "Other");
}

TEST_F(XmlTest, WhiteSpaceOnlyTextIsDroppedUnlessPreserved) {
  const AnsiString text = "<R>\r\n  <A/>\r\n  <B> x </B>\r\n</R>";
  ASSERT_TRUE(Doc.loadXML(text));
  EXPECT_EQ(Doc.documentElement().childNodes().length(), 2);
  EXPECT_EQ(Doc.selectSingleNode("//B").text(), " x ");
  Doc.put_preserveWhiteSpace(true);
  ASSERT_TRUE(Doc.loadXML(text));
  EXPECT_EQ(Doc.documentElement().childNodes().length(), 5);
  EXPECT_EQ(Doc.documentElement().firstChild().nodeType(), NODE_TEXT);
  EXPECT_EQ(Doc.documentElement().firstChild().nodeName(), "#text");
}

TEST_F(XmlTest, NilHandlesRaiseInsteadOfCrashing) {
  IXMLDOMNode nil;
  EXPECT_FALSE(nil);
  EXPECT_TRUE(nil == IXMLDOMNode());
  EXPECT_THROW(nil.text(), EAccessViolation);
  EXPECT_THROW(nil.selectSingleNode("//x"), EAccessViolation);
  EXPECT_THROW(IXMLDOMDocument().load("C:\\x.xml"), EAccessViolation);
  EXPECT_FALSE(IXMLDOMElement(nil));
  ASSERT_TRUE(Doc.loadXML(AnsiString("<R>t</R>")));
  EXPECT_FALSE(IXMLDOMElement(Doc.documentElement().firstChild()));  // a text node
  EXPECT_FALSE(Doc.ownerDocument());
}

}  // namespace
