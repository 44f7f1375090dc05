#include "platform/xml/XMLDoc.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Windows.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <cctype>
#include <mutex>
#include <new>
#include <regex>
#include <unordered_set>

// ---- The library ----------------------------------------------------------------------

namespace {

// Documents come from files and texts the module names; nothing they refer to is fetched,
// so a document cannot make the process read other files or reach the network.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void InitLibXml() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    // Windows reads a declared GB2312 as its code page 936 (GBK) and BIG5 as 950, and
    // the files written on Windows rely on that.
    xmlAddEncodingAlias("CP936", "GB2312");
    xmlAddEncodingAlias("CP936", "GBK");
    xmlAddEncodingAlias("CP950", "BIG5");
    xmlSetExternalEntityLoader(RefuseExternalEntity);
  });
}

// Collects what libxml2 reports while it is installed, instead of letting it print.
class TErrorCapture {
public:
  TErrorCapture() : FOldHandler(xmlStructuredError), FOldContext(xmlStructuredErrorContext) {
    xmlSetStructuredErrorFunc(this, &TErrorCapture::Handler);
  }
  ~TErrorCapture() { xmlSetStructuredErrorFunc(FOldContext, FOldHandler); }
  TErrorCapture(const TErrorCapture&) = delete;
  TErrorCapture& operator=(const TErrorCapture&) = delete;

  bool HasError() const { return FHasError; }
  int Code = 0;
  std::string Message;  // UTF-8
  int Line = 0;
  int Column = 0;

private:
  static void Handler(void* data, xmlErrorPtr error) {
    auto* self = static_cast<TErrorCapture*>(data);
    if (!error || error->level < XML_ERR_ERROR || self->FHasError) return;
    self->FHasError = true;
    self->Code = error->code;
    self->Message = error->message ? error->message : "";
    while (!self->Message.empty() && (self->Message.back() == '\n' || self->Message.back() == '\r'))
      self->Message.pop_back();
    self->Line = error->line;
    self->Column = error->domain == XML_FROM_PARSER ? error->int2 : 0;
  }

  xmlStructuredErrorFunc FOldHandler;
  void* FOldContext;
  bool FHasError = false;
};

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

// ---- Text between the interface (ANSI) and libxml2 (UTF-8) ---------------------------

std::string ToUtf8(const AnsiString& ansi) { return WideToAnsi(AnsiToWide(ansi), CP_UTF8); }
std::string ToUtf8(const WideString& wide) { return WideToAnsi(wide, CP_UTF8); }

AnsiString FromUtf8(const char* utf8) {
  if (!utf8 || !*utf8) return AnsiString();
  return WideToAnsi(AnsiToWide(utf8, CP_UTF8));
}

// Markup in the ANSI code page; a character the code page lacks becomes a character
// reference, which means the same character to any XML reader.
AnsiString MarkupFromUtf8(const std::string& utf8) {
  const WideString wide = AnsiToWide(utf8, CP_UTF8);
  bool lossy = false;
  AnsiString ansi = WideToAnsi(wide, CP_ACP, &lossy);
  if (!lossy) return ansi;
  ansi.clear();
  for (size_t i = 0; i < wide.size();) {
    size_t units = 1;
    if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF)
      units = 2;
    const WideString one = wide.substr(i, units);
    bool missing = false;
    AnsiString bytes = WideToAnsi(one, CP_ACP, &missing);
    if (missing) {
      char32_t cp = one[0];
      if (units == 2) cp = 0x10000 + ((char32_t(one[0]) - 0xD800) << 10) + (char32_t(one[1]) - 0xDC00);
      ansi += "&#x" + IntToHex(static_cast<uint32_t>(cp), 1) + ";";
    } else {
      ansi += bytes;
    }
    i += units;
  }
  return ansi;
}

// A string libxml2 allocated, freed when it goes.
struct TXmlString {
  explicit TXmlString(xmlChar* s) : Value(s) {}
  ~TXmlString() { xmlFree(Value); }
  TXmlString(const TXmlString&) = delete;
  TXmlString& operator=(const TXmlString&) = delete;
  xmlChar* Value;
};

[[noreturn]] void Raise(const AnsiString& message) { throw EOleException(message); }

}  // namespace

// ---- Trees and documents --------------------------------------------------------------

// One parsed or built libxml2 document with the nodes detached from it. Detached nodes
// are never freed while a handle may still point at them: they live until the tree goes.
struct TXmlTree {
  explicit TXmlTree(xmlDocPtr doc) : Doc(doc) {}
  ~TXmlTree() {
    // Only nodes that are still detached; one inserted again goes with its new parent.
    // Collected first, since freeing one frees the detached nodes inserted below it.
    std::vector<xmlNodePtr> roots;
    for (xmlNodePtr node : Detached)
      if (!node->parent) roots.push_back(node);
    // Before the document: their names may live in its dictionary.
    for (xmlNodePtr node : roots) {
      if (node->type == XML_ATTRIBUTE_NODE)
        xmlFreeProp(reinterpret_cast<xmlAttrPtr>(node));
      else
        xmlFreeNode(node);
    }
    xmlFreeDoc(Doc);
  }
  TXmlTree(const TXmlTree&) = delete;
  TXmlTree& operator=(const TXmlTree&) = delete;

  xmlNodePtr DocNode() const { return reinterpret_cast<xmlNodePtr>(Doc); }

  xmlDocPtr Doc;
  std::unordered_set<xmlNodePtr> Detached;
  // The declaration as written (UTF-8 texts); a document built in code has none.
  bool HasDeclaration = false;
  std::string Version = "1.0";
  std::string Encoding;
  std::string Standalone;
};

struct TXmlDocState {
  std::shared_ptr<TXmlTree> Tree;
  bool Async = true;
  bool ValidateOnParse = true;
  bool PreserveWhiteSpace = false;
  IXMLDOMParseError ParseError;
};

namespace {

// The tree keeps the declared encoding itself; libxml2's own field only steers its
// serialiser, which escapes every non-ASCII character in attributes while it is unset.
void SerialiseAsUtf8(xmlDocPtr doc) {
  if (doc->encoding) xmlFree(const_cast<xmlChar*>(doc->encoding));
  doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
}

std::shared_ptr<TXmlTree> NewEmptyTree() {
  xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
  if (!doc) throw std::bad_alloc();
  SerialiseAsUtf8(doc);
  return std::make_shared<TXmlTree>(doc);
}

bool IsDocumentNode(const _xmlNode* node) {
  return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
}

AnsiString QualifiedName(const _xmlNode* node) {
  std::string name = node->name ? reinterpret_cast<const char*>(node->name) : "";
  if (node->ns && node->ns->prefix && node->type != XML_DOCUMENT_TYPE_NODE)
    name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
  return FromUtf8(name.c_str());
}

std::string QualifiedNameUtf8(const _xmlNode* node) {
  std::string name = node->name ? reinterpret_cast<const char*>(node->name) : "";
  if (node->ns && node->ns->prefix) name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
  return name;
}

xmlAttrPtr FindAttribute(const _xmlNode* element, const std::string& utf8Name) {
  for (xmlAttrPtr a = element->properties; a; a = a->next)
    if (QualifiedNameUtf8(reinterpret_cast<const _xmlNode*>(a)) == utf8Name) return a;
  return nullptr;
}

std::string ContentOf(const _xmlNode* node) {
  TXmlString s(xmlNodeGetContent(node));
  return s.Value ? reinterpret_cast<const char*>(s.Value) : "";
}

void ValidateName(const std::string& utf8Name, const AnsiString& name) {
  if (utf8Name.empty() || xmlValidateName(X(utf8Name), 0) != 0)
    Raise(Format("'%s' is not a valid XML name", {name}));
}

// Links child as the last child of parent, without the merging of adjacent text nodes
// libxml2's own insertion does (which would free a node a handle holds).
void LinkLast(xmlNodePtr parent, xmlNodePtr child) {
  child->parent = parent;
  child->next = nullptr;
  child->prev = parent->last;
  if (parent->last)
    parent->last->next = child;
  else
    parent->children = child;
  parent->last = child;
}

void Detach(TXmlTree& tree, xmlNodePtr node) {
  xmlUnlinkNode(node);
  tree.Detached.insert(node);
}

void SetAttributeValue(TXmlTree& tree, xmlAttrPtr attr, const std::string& utf8) {
  // The old text children are never handed out, so they can go at once.
  xmlFreeNodeList(attr->children);
  attr->children = attr->last = nullptr;
  xmlNodePtr text = xmlNewDocText(tree.Doc, X(utf8));
  if (!text) throw std::bad_alloc();
  text->parent = reinterpret_cast<xmlNodePtr>(attr);
  attr->children = attr->last = text;
}

void SetElementText(TXmlTree& tree, xmlNodePtr element, const std::string& utf8) {
  while (element->children) Detach(tree, element->children);
  if (utf8.empty()) return;
  xmlNodePtr text = xmlNewDocText(tree.Doc, X(utf8));
  if (!text) throw std::bad_alloc();
  LinkLast(element, text);
}

// The pseudo-attributes of a leading "<?xml ...?>", as written.
void ReadDeclaration(const std::string& text, TXmlTree& tree) {
  size_t start = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  if (text.compare(start, 5, "<?xml") != 0 || text.size() <= start + 5 ||
      !std::isspace(static_cast<unsigned char>(text[start + 5])))
    return;
  const size_t end = text.find("?>", start);
  if (end == std::string::npos) return;
  tree.HasDeclaration = true;
  const std::string decl = text.substr(start + 5, end - start - 5);
  static const std::regex pseudo(R"re(([A-Za-z]+)\s*=\s*(?:"([^"]*)"|'([^']*)'))re");
  for (auto it = std::sregex_iterator(decl.begin(), decl.end(), pseudo); it != std::sregex_iterator(); ++it) {
    const std::string name = (*it)[1];
    const std::string value = (*it)[2].matched ? (*it)[2].str() : (*it)[3].str();
    if (name == "version")
      tree.Version = value;
    else if (name == "encoding")
      tree.Encoding = value;
    else if (name == "standalone")
      tree.Standalone = value;
  }
}

std::string DeclarationText(const TXmlTree& tree) {
  if (!tree.HasDeclaration) return "";
  std::string decl = "<?xml version=\"" + tree.Version + "\"";
  if (!tree.Encoding.empty()) decl += " encoding=\"" + tree.Encoding + "\"";
  if (!tree.Standalone.empty()) decl += " standalone=\"" + tree.Standalone + "\"";
  return decl + "?>";
}

// The markup of one node in UTF-8.
std::string DumpNode(const TXmlTree& tree, xmlNodePtr node) {
  xmlBufferPtr buffer = xmlBufferCreate();
  if (!buffer) throw std::bad_alloc();
  xmlNodeDump(buffer, tree.Doc, node, 0, 0);
  std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                   static_cast<size_t>(xmlBufferLength(buffer)));
  xmlBufferFree(buffer);
  if (node->type == XML_ATTRIBUTE_NODE && !text.empty() && text[0] == ' ') text.erase(0, 1);
  return text;
}

}  // namespace

// Builds handles; a friend of the handle classes.
struct TXmlAccess {
  static IXMLDOMNode Wrap(const std::shared_ptr<TXmlDocState>& doc, const std::shared_ptr<TXmlTree>& tree,
                          xmlNodePtr node) {
    if (!node) return IXMLDOMNode();
    if (IsDocumentNode(node) && doc->Tree == tree) return IXMLDOMDocument(doc);
    return IXMLDOMNode(doc, tree, node);
  }
  static IXMLDOMDocument Document(const std::shared_ptr<TXmlDocState>& doc) { return IXMLDOMDocument(doc); }
  static void Add(IXMLDOMNodeList& list, IXMLDOMNode node) { list.FItems.push_back(std::move(node)); }
  static const std::shared_ptr<TXmlDocState>& State(const IXMLDOMNode& n) { return n.FDoc; }
  static std::shared_ptr<TXmlTree> Tree(const IXMLDOMNode& n) {
    if (n.FNode) return n.FTree;
    if (n.FDoc) return n.FDoc->Tree;
    throw EAccessViolation("Access violation: the XML node is nil");
  }
  static xmlNodePtr Node(const IXMLDOMNode& n) {
    if (n.FNode) return n.FNode;
    if (n.FDoc) return n.FDoc->Tree->DocNode();
    throw EAccessViolation("Access violation: the XML node is nil");
  }
};

// ---- IXMLDOMNode ----------------------------------------------------------------------

IXMLDOMNode::IXMLDOMNode(std::shared_ptr<TXmlDocState> doc, std::shared_ptr<TXmlTree> tree, _xmlNode* node)
    : FDoc(std::move(doc)), FTree(std::move(tree)), FNode(node) {}

IXMLDOMNode::operator bool() const { return FDoc != nullptr; }

bool IXMLDOMNode::operator==(const IXMLDOMNode& other) const {
  if (!*this || !other) return !*this && !other;
  return TXmlAccess::Node(*this) == TXmlAccess::Node(other);
}

DOMNodeType IXMLDOMNode::nodeType() const {
  switch (TXmlAccess::Node(*this)->type) {
    case XML_ELEMENT_NODE: return NODE_ELEMENT;
    case XML_ATTRIBUTE_NODE: return NODE_ATTRIBUTE;
    case XML_TEXT_NODE: return NODE_TEXT;
    case XML_CDATA_SECTION_NODE: return NODE_CDATA_SECTION;
    case XML_ENTITY_REF_NODE: return NODE_ENTITY_REFERENCE;
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL: return NODE_ENTITY;
    case XML_PI_NODE: return NODE_PROCESSING_INSTRUCTION;
    case XML_COMMENT_NODE: return NODE_COMMENT;
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: return NODE_DOCUMENT;
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DTD_NODE: return NODE_DOCUMENT_TYPE;
    case XML_DOCUMENT_FRAG_NODE: return NODE_DOCUMENT_FRAGMENT;
    case XML_NOTATION_NODE: return NODE_NOTATION;
    case XML_ELEMENT_DECL:
    case XML_ATTRIBUTE_DECL:
    case XML_NAMESPACE_DECL:
    case XML_XINCLUDE_START:
    case XML_XINCLUDE_END:
#ifdef LIBXML_DOCB_ENABLED
    case XML_DOCB_DOCUMENT_NODE:
#endif
      return NODE_INVALID;
  }
  return NODE_INVALID;
}

AnsiString IXMLDOMNode::nodeName() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  switch (nodeType()) {
    case NODE_TEXT: return "#text";
    case NODE_CDATA_SECTION: return "#cdata-section";
    case NODE_COMMENT: return "#comment";
    case NODE_DOCUMENT: return "#document";
    case NODE_DOCUMENT_FRAGMENT: return "#document-fragment";
    case NODE_INVALID:
    case NODE_ELEMENT:
    case NODE_ATTRIBUTE:
    case NODE_ENTITY_REFERENCE:
    case NODE_ENTITY:
    case NODE_PROCESSING_INSTRUCTION:
    case NODE_DOCUMENT_TYPE:
    case NODE_NOTATION: break;
  }
  return QualifiedName(node);
}

namespace {

// Whether a node of that type has a value (its text); the others' value is Null.
bool HasNodeValue(DOMNodeType type) {
  switch (type) {
    case NODE_ATTRIBUTE:
    case NODE_TEXT:
    case NODE_CDATA_SECTION:
    case NODE_COMMENT:
    case NODE_PROCESSING_INSTRUCTION: return true;
    case NODE_INVALID:
    case NODE_ELEMENT:
    case NODE_ENTITY_REFERENCE:
    case NODE_ENTITY:
    case NODE_DOCUMENT:
    case NODE_DOCUMENT_TYPE:
    case NODE_DOCUMENT_FRAGMENT:
    case NODE_NOTATION: break;
  }
  return false;
}

}  // namespace

Variant IXMLDOMNode::nodeValue() const {
  if (HasNodeValue(nodeType())) return Variant(text());
  return Null();
}

void IXMLDOMNode::put_nodeValue(const Variant& value) {
  if (HasNodeValue(nodeType())) {
    put_text(VarToStr(value));
    return;
  }
  Raise(Format("The value of a node of type %s cannot be set", {nodeName()}));
}

AnsiString IXMLDOMNode::text() const { return FromUtf8(ContentOf(TXmlAccess::Node(*this)).c_str()); }

void IXMLDOMNode::put_text(const AnsiString& value) {
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  const xmlNodePtr node = TXmlAccess::Node(*this);
  const std::string utf8 = ToUtf8(value);
  switch (nodeType()) {
    case NODE_ELEMENT:
    case NODE_DOCUMENT_FRAGMENT: SetElementText(*tree, node, utf8); return;
    case NODE_ATTRIBUTE: SetAttributeValue(*tree, reinterpret_cast<xmlAttrPtr>(node), utf8); return;
    case NODE_TEXT:
    case NODE_CDATA_SECTION:
    case NODE_COMMENT:
    case NODE_PROCESSING_INSTRUCTION: xmlNodeSetContent(node, X(utf8)); return;
    case NODE_INVALID:
    case NODE_ENTITY_REFERENCE:
    case NODE_ENTITY:
    case NODE_DOCUMENT:
    case NODE_DOCUMENT_TYPE:
    case NODE_NOTATION: break;
  }
  Raise(Format("The text of a node of type %s cannot be set", {nodeName()}));
}

AnsiString IXMLDOMNode::xml() const {
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  const xmlNodePtr node = TXmlAccess::Node(*this);
  if (!IsDocumentNode(node)) return MarkupFromUtf8(DumpNode(*tree, node));
  std::string text = DeclarationText(*tree);
  if (!text.empty()) text += "\r\n";
  for (xmlNodePtr child = node->children; child; child = child->next) text += DumpNode(*tree, child) + "\r\n";
  return MarkupFromUtf8(text);
}

IXMLDOMNode IXMLDOMNode::parentNode() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return TXmlAccess::Wrap(FDoc, TXmlAccess::Tree(*this), node->type == XML_ATTRIBUTE_NODE ? nullptr : node->parent);
}

namespace {
// Attribute values are exposed as text only: their text children stay inside.
bool HasVisibleChildren(const _xmlNode* node) {
  return node->type != XML_ATTRIBUTE_NODE && node->type != XML_ENTITY_REF_NODE;
}
}  // namespace

IXMLDOMNode IXMLDOMNode::firstChild() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return TXmlAccess::Wrap(FDoc, TXmlAccess::Tree(*this), HasVisibleChildren(node) ? node->children : nullptr);
}

IXMLDOMNode IXMLDOMNode::lastChild() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return TXmlAccess::Wrap(FDoc, TXmlAccess::Tree(*this), HasVisibleChildren(node) ? node->last : nullptr);
}

IXMLDOMNode IXMLDOMNode::previousSibling() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return TXmlAccess::Wrap(FDoc, TXmlAccess::Tree(*this), node->type == XML_ATTRIBUTE_NODE ? nullptr : node->prev);
}

IXMLDOMNode IXMLDOMNode::nextSibling() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return TXmlAccess::Wrap(FDoc, TXmlAccess::Tree(*this), node->type == XML_ATTRIBUTE_NODE ? nullptr : node->next);
}

IXMLDOMNodeList IXMLDOMNode::childNodes() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  IXMLDOMNodeList list;
  if (HasVisibleChildren(node))
    for (xmlNodePtr child = node->children; child; child = child->next)
      TXmlAccess::Add(list, TXmlAccess::Wrap(FDoc, tree, child));
  return list;
}

bool IXMLDOMNode::hasChildNodes() const {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  return HasVisibleChildren(node) && node->children != nullptr;
}

IXMLDOMNamedNodeMap IXMLDOMNode::attributes() const {
  if (nodeType() != NODE_ELEMENT) return IXMLDOMNamedNodeMap();
  return IXMLDOMNamedNodeMap(IXMLDOMElement(*this));
}

IXMLDOMDocument IXMLDOMNode::ownerDocument() const {
  if (IsDocumentNode(TXmlAccess::Node(*this))) return IXMLDOMDocument();
  return TXmlAccess::Document(FDoc);
}

IXMLDOMNode IXMLDOMNode::appendChild(const IXMLDOMNode& newChild) {
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  const xmlNodePtr parent = TXmlAccess::Node(*this);
  const xmlNodePtr child = TXmlAccess::Node(newChild);
  if (TXmlAccess::Tree(newChild) != tree) Raise("The node to insert belongs to another document");
  const DOMNodeType parentType = nodeType();
  const DOMNodeType childType = newChild.nodeType();
  if (parentType != NODE_ELEMENT && parentType != NODE_DOCUMENT && parentType != NODE_DOCUMENT_FRAGMENT)
    Raise(Format("A node of type %s cannot have children", {nodeName()}));
  if (childType == NODE_ATTRIBUTE || childType == NODE_DOCUMENT || childType == NODE_INVALID ||
      childType == NODE_ENTITY || childType == NODE_NOTATION || childType == NODE_DOCUMENT_TYPE)
    Raise(Format("A node of type %s cannot be inserted", {newChild.nodeName()}));
  for (xmlNodePtr p = parent; p; p = p->parent)
    if (p == child) Raise("A node cannot be inserted below itself");
  if (parentType == NODE_DOCUMENT) {
    if (childType == NODE_TEXT || childType == NODE_CDATA_SECTION || childType == NODE_ENTITY_REFERENCE)
      Raise("Text cannot be inserted at the top level of a document");
    if (childType == NODE_ELEMENT)
      for (xmlNodePtr c = parent->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && c != child)
          Raise("Only one top level element is allowed in an XML document");
  }
  if (child->parent) xmlUnlinkNode(child);
  LinkLast(parent, child);
  return newChild;
}

IXMLDOMNode IXMLDOMNode::removeChild(const IXMLDOMNode& child) {
  const xmlNodePtr parent = TXmlAccess::Node(*this);
  const xmlNodePtr node = TXmlAccess::Node(child);
  if (node->parent != parent || node->type == XML_ATTRIBUTE_NODE || !HasVisibleChildren(parent))
    Raise("The node to remove is not a child of this node");
  Detach(*TXmlAccess::Tree(*this), node);
  return child;
}

namespace {

std::vector<xmlNodePtr> Select(const TXmlTree& tree, xmlNodePtr context, const AnsiString& pattern) {
  TErrorCapture errors;
  xmlXPathContextPtr ctx = xmlXPathNewContext(tree.Doc);
  if (!ctx) throw std::bad_alloc();
  ctx->node = context;
  xmlXPathObjectPtr result = xmlXPathEvalExpression(X(ToUtf8(pattern)), ctx);
  xmlXPathFreeContext(ctx);
  if (!result) {
    const AnsiString why = errors.HasError() ? FromUtf8(errors.Message.c_str()) : AnsiString("invalid expression");
    Raise(Format("Invalid XPath pattern '%s': %s", {pattern, why}));
  }
  std::vector<xmlNodePtr> nodes;
  if (result->type != XPATH_NODESET) {
    xmlXPathFreeObject(result);
    Raise(Format("The XPath pattern '%s' does not select nodes", {pattern}));
  }
  if (xmlNodeSetPtr set = result->nodesetval)
    for (int i = 0; i < set->nodeNr; ++i)
      if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) nodes.push_back(set->nodeTab[i]);
  xmlXPathFreeObject(result);
  return nodes;
}

}  // namespace

IXMLDOMNode IXMLDOMNode::selectSingleNode(const AnsiString& pattern) const {
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  const std::vector<xmlNodePtr> nodes = Select(*tree, TXmlAccess::Node(*this), pattern);
  return nodes.empty() ? IXMLDOMNode() : TXmlAccess::Wrap(FDoc, tree, nodes.front());
}

IXMLDOMNodeList IXMLDOMNode::selectNodes(const AnsiString& pattern) const {
  const std::shared_ptr<TXmlTree> tree = TXmlAccess::Tree(*this);
  IXMLDOMNodeList list;
  for (xmlNodePtr node : Select(*tree, TXmlAccess::Node(*this), pattern))
    TXmlAccess::Add(list, TXmlAccess::Wrap(FDoc, tree, node));
  return list;
}

// ---- IXMLDOMElement -------------------------------------------------------------------

IXMLDOMElement::IXMLDOMElement(const IXMLDOMNode& node) {
  if (node && node.nodeType() == NODE_ELEMENT) IXMLDOMNode::operator=(node);
}

AnsiString IXMLDOMElement::tagName() const { return nodeName(); }

Variant IXMLDOMElement::getAttribute(const AnsiString& name) const {
  const xmlAttrPtr attr = FindAttribute(TXmlAccess::Node(*this), ToUtf8(name));
  if (!attr) return Null();
  return Variant(FromUtf8(ContentOf(reinterpret_cast<xmlNodePtr>(attr)).c_str()));
}

void IXMLDOMElement::setAttribute(const AnsiString& name, const Variant& value) {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  const std::string utf8Name = ToUtf8(name);
  const std::string utf8Value = ToUtf8(VarToStr(value));
  if (xmlAttrPtr attr = FindAttribute(node, utf8Name)) {
    SetAttributeValue(*TXmlAccess::Tree(*this), attr, utf8Value);
    return;
  }
  ValidateName(utf8Name, name);
  if (!xmlNewProp(node, X(utf8Name), X(utf8Value))) throw std::bad_alloc();
}

void IXMLDOMElement::removeAttribute(const AnsiString& name) {
  const xmlNodePtr node = TXmlAccess::Node(*this);
  if (xmlAttrPtr attr = FindAttribute(node, ToUtf8(name)))
    Detach(*TXmlAccess::Tree(*this), reinterpret_cast<xmlNodePtr>(attr));
}

IXMLDOMNode IXMLDOMElement::getAttributeNode(const AnsiString& name) const {
  const xmlAttrPtr attr = FindAttribute(TXmlAccess::Node(*this), ToUtf8(name));
  return TXmlAccess::Wrap(TXmlAccess::State(*this), TXmlAccess::Tree(*this), reinterpret_cast<xmlNodePtr>(attr));
}

// ---- Lists ----------------------------------------------------------------------------

IXMLDOMNode IXMLDOMNodeList::item(int index) const {
  if (index < 0 || index >= length()) return IXMLDOMNode();
  return FItems[static_cast<size_t>(index)];
}

int IXMLDOMNamedNodeMap::length() const {
  int count = 0;
  for (xmlAttrPtr a = TXmlAccess::Node(FElement)->properties; a; a = a->next) ++count;
  return count;
}

IXMLDOMNode IXMLDOMNamedNodeMap::item(int index) const {
  if (index < 0) return IXMLDOMNode();
  xmlAttrPtr a = TXmlAccess::Node(FElement)->properties;
  for (; a && index > 0; a = a->next) --index;
  return TXmlAccess::Wrap(TXmlAccess::State(FElement), TXmlAccess::Tree(FElement), reinterpret_cast<xmlNodePtr>(a));
}

IXMLDOMNode IXMLDOMNamedNodeMap::getNamedItem(const AnsiString& name) const { return FElement.getAttributeNode(name); }

// ---- IXMLDOMDocument ------------------------------------------------------------------

IXMLDOMDocument::IXMLDOMDocument(std::shared_ptr<TXmlDocState> doc) : IXMLDOMNode(std::move(doc), nullptr, nullptr) {}

IXMLDOMDocument CoDOMDocument::Create() {
  InitLibXml();
  auto state = std::make_shared<TXmlDocState>();
  state->Tree = NewEmptyTree();
  return IXMLDOMDocument(state);
}

namespace {
TXmlDocState& StateOf(const std::shared_ptr<TXmlDocState>& doc) {
  if (!doc) throw EAccessViolation("Access violation: the XML document is nil");
  return *doc;
}

// Parses text into a new tree of the document; on failure the document is left empty.
bool Parse(TXmlDocState& state, const std::string& bytes, bool decoded, const AnsiString& url) {
  state.ParseError = IXMLDOMParseError();
  state.ParseError.url = url;
  state.Tree = NewEmptyTree();

  TErrorCapture errors;
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) throw std::bad_alloc();
  int options = XML_PARSE_NONET | XML_PARSE_NOENT;
  if (!state.PreserveWhiteSpace) options |= XML_PARSE_NOBLANKS;
  // Text handed over as text is decoded already, whatever its declaration says.
  if (decoded) options |= XML_PARSE_IGNORE_ENC;
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                    decoded ? "UTF-8" : nullptr, options);
  xmlFreeParserCtxt(ctxt);

  if (doc && state.ValidateOnParse && (doc->intSubset || doc->extSubset)) {
    xmlValidCtxtPtr valid = xmlNewValidCtxt();
    const bool ok = valid && xmlValidateDocument(valid, doc) == 1;
    xmlFreeValidCtxt(valid);
    if (!ok) {
      xmlFreeDoc(doc);
      doc = nullptr;
    }
  }
  if (!doc) {
    state.ParseError.errorCode = XML_E_PARSE_BASE + (errors.HasError() ? errors.Code : 1);
    state.ParseError.reason =
        errors.HasError() ? FromUtf8(errors.Message.c_str()) : AnsiString("The document is not well formed");
    state.ParseError.line = errors.Line;
    state.ParseError.linepos = errors.Column;
    return false;
  }
  auto tree = std::make_shared<TXmlTree>(doc);
  const std::string libraryEncoding = doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "";
  SerialiseAsUtf8(doc);
  const bool utf16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                           (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
  if (!utf16) {
    ReadDeclaration(bytes, *tree);
  } else if (!libraryEncoding.empty()) {
    tree->HasDeclaration = true;
    tree->Encoding = libraryEncoding;
  }
  state.Tree = std::move(tree);
  return true;
}
}  // namespace

bool IXMLDOMDocument::async() const { return StateOf(FDoc).Async; }
void IXMLDOMDocument::put_async(bool value) { StateOf(FDoc).Async = value; }
bool IXMLDOMDocument::validateOnParse() const { return StateOf(FDoc).ValidateOnParse; }
void IXMLDOMDocument::put_validateOnParse(bool value) { StateOf(FDoc).ValidateOnParse = value; }
bool IXMLDOMDocument::preserveWhiteSpace() const { return StateOf(FDoc).PreserveWhiteSpace; }
void IXMLDOMDocument::put_preserveWhiteSpace(bool value) { StateOf(FDoc).PreserveWhiteSpace = value; }

bool IXMLDOMDocument::load(const AnsiString& fileName) {
  TXmlDocState& state = StateOf(FDoc);
  AnsiString bytes;
  bool read = false;
  try {
    read = !fileName.empty() && FileExists(fileName) && ReadFileBytes(fileName, bytes);
  } catch (const Exception&) {
    read = false;
  }
  if (!read) {
    state.Tree = NewEmptyTree();
    state.ParseError = IXMLDOMParseError();
    state.ParseError.errorCode = XML_E_OBJECT_NOT_FOUND;
    state.ParseError.reason = Format("The system cannot locate the object specified: %s", {fileName});
    state.ParseError.url = fileName;
    return false;
  }
  return Parse(state, bytes, false, fileName);
}

bool IXMLDOMDocument::loadXML(const AnsiString& text) { return Parse(StateOf(FDoc), ToUtf8(text), true, ""); }

bool IXMLDOMDocument::loadXML(const WideString& text) { return Parse(StateOf(FDoc), ToUtf8(text), true, ""); }

void IXMLDOMDocument::save(const AnsiString& fileName) const {
  const TXmlTree& tree = *StateOf(FDoc).Tree;
  const char* encoding = tree.Encoding.empty() ? "UTF-8" : tree.Encoding.c_str();
  std::string bytes = DeclarationText(tree);
  if (!bytes.empty()) bytes += "\r\n";
  {
    TErrorCapture errors;
    for (xmlNodePtr child = tree.Doc->children; child; child = child->next) {
      xmlBufferPtr buffer = xmlBufferCreate();
      if (!buffer) throw std::bad_alloc();
      xmlSaveCtxtPtr ctxt = xmlSaveToBuffer(buffer, encoding, XML_SAVE_NO_DECL | XML_SAVE_AS_XML);
      if (!ctxt) {
        xmlBufferFree(buffer);
        Raise(Format("Cannot save in the encoding %s", {FromUtf8(encoding)}));
      }
      const bool ok = xmlSaveTree(ctxt, child) >= 0;
      xmlSaveClose(ctxt);
      bytes.append(reinterpret_cast<const char*>(xmlBufferContent(buffer)), static_cast<size_t>(xmlBufferLength(buffer)));
      xmlBufferFree(buffer);
      if (!ok || errors.HasError()) Raise(Format("Cannot save in the encoding %s", {FromUtf8(encoding)}));
      bytes += "\r\n";
    }
  }
  bool written = false;
  try {
    written = WriteFileBytes(fileName, bytes);
  } catch (const Exception& e) {
    Raise(Format("Cannot write %s: %s", {fileName, e.Message}));
  }
  if (!written) Raise(Format("Cannot write %s (error %d)", {fileName, static_cast<int>(GetLastError())}));
}

IXMLDOMParseError IXMLDOMDocument::parseError() const { return StateOf(FDoc).ParseError; }

IXMLDOMElement IXMLDOMDocument::documentElement() const {
  const std::shared_ptr<TXmlTree>& tree = StateOf(FDoc).Tree;
  return IXMLDOMElement(TXmlAccess::Wrap(FDoc, tree, xmlDocGetRootElement(tree->Doc)));
}

IXMLDOMElement IXMLDOMDocument::createElement(const AnsiString& tagName) {
  TXmlTree& tree = *StateOf(FDoc).Tree;
  const std::string name = ToUtf8(tagName);
  ValidateName(name, tagName);
  xmlNodePtr node = xmlNewDocNode(tree.Doc, nullptr, X(name), nullptr);
  if (!node) throw std::bad_alloc();
  tree.Detached.insert(node);
  return IXMLDOMElement(TXmlAccess::Wrap(FDoc, FDoc->Tree, node));
}

IXMLDOMNode IXMLDOMDocument::createTextNode(const AnsiString& data) {
  TXmlTree& tree = *StateOf(FDoc).Tree;
  xmlNodePtr node = xmlNewDocText(tree.Doc, X(ToUtf8(data)));
  if (!node) throw std::bad_alloc();
  tree.Detached.insert(node);
  return TXmlAccess::Wrap(FDoc, FDoc->Tree, node);
}
