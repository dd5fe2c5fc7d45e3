// The nodes of a parsed XML document: the document itself, elements with their text, attributes,
// processing instructions and the XML declaration.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TXMLNodeKind : std::uint8_t {
  Document = 0,
  Element,
  Attribute,
  ProcessingInstruction,
  XMLDeclaration
};

// "Document", "Element", "Attribute", "ProcessingInstruction" or "XMLDeclaration".
const char* XMLNodeKindName(TXMLNodeKind kind);

class TXMLNode {
public:
  // Element: concatenated and trimmed text; Attribute: the value; instruction: its data.
  std::string Value;
  // Element, attribute or instruction name; empty for the document and the declaration.
  std::string Name;
  // Sub-nodes in the order they were read (an element's attributes come first).
  std::vector<std::unique_ptr<TXMLNode>> Children;
  TXMLNodeKind Kind = TXMLNodeKind::Document;

  // An empty document node.
  TXMLNode() = default;
  TXMLNode(TXMLNodeKind kind, std::string name, std::string value = std::string());
  // Destroys the whole subtree without recursion, so that deeply nested trees are safe.
  ~TXMLNode();
  TXMLNode(const TXMLNode&) = delete;
  TXMLNode& operator=(const TXMLNode&) = delete;

  int ChildCount() const { return static_cast<int>(Children.size()); }
  // The child at index i; out of range raises the list-index error.
  TXMLNode* GetChild(int i);
  const TXMLNode* GetChild(int i) const;
  // Appends `node` (taking ownership) and answers it.
  TXMLNode* AddChild(std::unique_ptr<TXMLNode> node);
  // Detaches and destroys `node` when it is a child; does nothing otherwise.
  void RemoveChild(TXMLNode* node);
  // The first child element with the given name, or null.
  TXMLNode* FindElement(const std::string& name);
  const TXMLNode* FindElement(const std::string& name) const;

  const char* KindName() const { return XMLNodeKindName(Kind); }
};
