// The XML DOM: documents, nodes, elements and attributes with XPath selection, shaped
// after the Windows XML DOM the module was written against, over libxml2.
//
// Text: every text that crosses this interface (names, values, XPath patterns, the xml
// text, file names) is ANSI text in the process's code page, like all text of the module.
// A character the code page lacks reads as '?', except in the xml text, which writes it
// as a character reference (&#x4E2D;) so that the markup keeps it. loadXML also takes wide
// text, as the automation DOM's loadXML does.
//
// Files: load reads the bytes of a Windows path through the prefix and decodes them as the
// document declares (UTF-8 without a declaration; GB2312 and GBK as code page 936, BIG5 as
// code page 950, as Windows reads them). save writes the document in the encoding its
// declaration names, or UTF-8 when it names none. Nothing outside the document is ever
// fetched: external entities and DTDs are not loaded.
//
// Objects are handles with the semantics of interface references: copies share the node, a
// node keeps the tree it belongs to alive, and a default-constructed handle is nil (false
// in a condition). Calling a member of a nil handle raises EAccessViolation. Misuse of the
// DOM (an invalid name, an invalid XPath pattern, a node inserted where it cannot go)
// raises EOleException, as a failed call of the automation DOM does. A failed load does
// not raise: it answers false and fills parseError.
#pragma once

#include "platform/ole/Variants.h"
#include "platform/rtl/System.h"

#include <memory>
#include <vector>

struct _xmlNode;
struct TXmlTree;
struct TXmlDocState;

enum DOMNodeType {
  NODE_INVALID,
  NODE_ELEMENT,
  NODE_ATTRIBUTE,
  NODE_TEXT,
  NODE_CDATA_SECTION,
  NODE_ENTITY_REFERENCE,
  NODE_ENTITY,
  NODE_PROCESSING_INSTRUCTION,
  NODE_COMMENT,
  NODE_DOCUMENT,
  NODE_DOCUMENT_TYPE,
  NODE_DOCUMENT_FRAGMENT,
  NODE_NOTATION
};

// errorCode of a file that cannot be read (the automation DOM's "object not found").
constexpr int XML_E_OBJECT_NOT_FOUND = static_cast<int>(0x800C0006u);
// errorCode of a document that is not well formed or not valid: this base plus the
// parser's error number.
constexpr int XML_E_PARSE_BASE = static_cast<int>(0xC00CE000u);

// Why the last load or loadXML failed; errorCode 0 and empty texts after a success.
struct IXMLDOMParseError {
  int errorCode = 0;
  AnsiString reason;  // one line, without a trailing line break
  AnsiString url;     // the file name given to load
  int line = 0;       // 1-based; 0 when the failure has no position
  int linepos = 0;    // 1-based column
};

class IXMLDOMNodeList;
class IXMLDOMNamedNodeMap;
class IXMLDOMElement;
class IXMLDOMDocument;

class IXMLDOMNode {
public:
  IXMLDOMNode() = default;

  explicit operator bool() const;
  // The same node (two nil handles are equal).
  bool operator==(const IXMLDOMNode& other) const;

  DOMNodeType nodeType() const;
  // The tag or attribute name with its prefix; "#text", "#comment", "#cdata-section",
  // "#document"; the target of a processing instruction; the document type's name.
  AnsiString nodeName() const;
  // Null for elements, documents and document types; the text of any other node.
  Variant nodeValue() const;
  void put_nodeValue(const Variant& value);
  // The text of the node and everything below it; an attribute's value.
  AnsiString text() const;
  // Replaces an element's children by one text node, or sets the value of any other node
  // that has one.
  void put_text(const AnsiString& value);
  // The markup of the node and everything below it; a document's includes its declaration.
  AnsiString xml() const;

  IXMLDOMNode parentNode() const;
  IXMLDOMNode firstChild() const;
  IXMLDOMNode lastChild() const;
  IXMLDOMNode previousSibling() const;
  IXMLDOMNode nextSibling() const;
  // The children as they are now (a later change of the tree does not change the list).
  IXMLDOMNodeList childNodes() const;
  bool hasChildNodes() const;
  // The attributes of an element; nil for other nodes.
  IXMLDOMNamedNodeMap attributes() const;
  // nil for the document itself.
  IXMLDOMDocument ownerDocument() const;

  // Moves newChild (of the same document) to the end of this node's children and returns
  // it. A document takes one element at most; attributes, documents and this node's own
  // ancestors cannot be inserted.
  IXMLDOMNode appendChild(const IXMLDOMNode& newChild);
  // Detaches a child of this node and returns it; it can be inserted again.
  IXMLDOMNode removeChild(const IXMLDOMNode& child);

  // XPath 1.0 relative to this node, results in document order.
  IXMLDOMNode selectSingleNode(const AnsiString& pattern) const;
  IXMLDOMNodeList selectNodes(const AnsiString& pattern) const;

protected:
  friend struct TXmlAccess;
  IXMLDOMNode(std::shared_ptr<TXmlDocState> doc, std::shared_ptr<TXmlTree> tree, _xmlNode* node);

  // Set for every handle; the tree is empty for a handle of the document itself, which
  // follows the document's current tree from load to load.
  std::shared_ptr<TXmlDocState> FDoc;
  std::shared_ptr<TXmlTree> FTree;
  _xmlNode* FNode = nullptr;
};

class IXMLDOMElement : public IXMLDOMNode {
public:
  IXMLDOMElement() = default;
  // The node taken as an element: nil when it is none.
  explicit IXMLDOMElement(const IXMLDOMNode& node);

  AnsiString tagName() const;
  // The value as text, Null when the element has no such attribute (names compare exactly).
  Variant getAttribute(const AnsiString& name) const;
  // Adds the attribute at the end, or replaces the value of the one present.
  void setAttribute(const AnsiString& name, const Variant& value);
  void removeAttribute(const AnsiString& name);
  IXMLDOMNode getAttributeNode(const AnsiString& name) const;
};

class IXMLDOMNodeList {
public:
  int length() const { return static_cast<int>(FItems.size()); }
  // nil outside 0 .. length - 1.
  IXMLDOMNode item(int index) const;

  std::vector<IXMLDOMNode>::const_iterator begin() const { return FItems.begin(); }
  std::vector<IXMLDOMNode>::const_iterator end() const { return FItems.end(); }

private:
  friend struct TXmlAccess;
  std::vector<IXMLDOMNode> FItems;
};

// The attributes of one element in document order, read live from the element.
class IXMLDOMNamedNodeMap {
public:
  IXMLDOMNamedNodeMap() = default;
  explicit operator bool() const { return static_cast<bool>(FElement); }

  int length() const;
  IXMLDOMNode item(int index) const;  // nil outside 0 .. length - 1
  IXMLDOMNode getNamedItem(const AnsiString& name) const;

private:
  friend class IXMLDOMNode;
  explicit IXMLDOMNamedNodeMap(IXMLDOMElement element) : FElement(std::move(element)) {}
  IXMLDOMElement FElement;
};

class IXMLDOMDocument : public IXMLDOMNode {
public:
  IXMLDOMDocument() = default;

  // Loading is always synchronous; async is kept for callers that set it.
  bool async() const;
  void put_async(bool value);
  // Checks a document that has a document type against it (true at first).
  bool validateOnParse() const;
  void put_validateOnParse(bool value);
  // Keeps text nodes made only of white space (false at first: they are dropped).
  bool preserveWhiteSpace() const;
  void put_preserveWhiteSpace(bool value);

  // Replace the whole document. On failure the document is empty and parseError says why.
  bool load(const AnsiString& fileName);
  bool loadXML(const AnsiString& text);
  bool loadXML(const WideString& text);
  // Raises EOleException when the file cannot be written or the encoding is unknown.
  void save(const AnsiString& fileName) const;

  IXMLDOMParseError parseError() const;
  IXMLDOMElement documentElement() const;

  // New nodes of this document, not yet in its tree.
  IXMLDOMElement createElement(const AnsiString& tagName);
  IXMLDOMNode createTextNode(const AnsiString& data);

private:
  friend struct TXmlAccess;
  friend struct CoDOMDocument;
  explicit IXMLDOMDocument(std::shared_ptr<TXmlDocState> doc);
};

// Creates an empty document: CoDOMDocument::Create().
struct CoDOMDocument {
  static IXMLDOMDocument Create();
};
