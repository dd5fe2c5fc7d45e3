#include "xml/XMLNode.h"

#include "base/Errors.h"

#include <algorithm>
#include <utility>

const char* XMLNodeKindName(TXMLNodeKind kind) {
  switch (kind) {
  case TXMLNodeKind::Document:
    return "Document";
  case TXMLNodeKind::Element:
    return "Element";
  case TXMLNodeKind::Attribute:
    return "Attribute";
  case TXMLNodeKind::ProcessingInstruction:
    return "ProcessingInstruction";
  case TXMLNodeKind::XMLDeclaration:
    return "XMLDeclaration";
  }
  return "";
}

TXMLNode::TXMLNode(TXMLNodeKind kind, std::string name, std::string value)
    : Value(std::move(value)), Name(std::move(name)), Kind(kind) {}

TXMLNode::~TXMLNode() {
  // Flatten the subtree into a work list: every node is destroyed once its own children have
  // been moved out, so destruction never nests deeper than one level.
  std::vector<std::unique_ptr<TXMLNode>> pending = std::move(Children);
  while (!pending.empty()) {
    std::unique_ptr<TXMLNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->Children)
      pending.push_back(std::move(child));
    node->Children.clear();
  }
}

TXMLNode* TXMLNode::GetChild(int i) {
  if (i < 0 || i >= ChildCount()) ThrowListError(i);
  return Children[static_cast<size_t>(i)].get();
}

const TXMLNode* TXMLNode::GetChild(int i) const {
  if (i < 0 || i >= ChildCount()) ThrowListError(i);
  return Children[static_cast<size_t>(i)].get();
}

TXMLNode* TXMLNode::AddChild(std::unique_ptr<TXMLNode> node) {
  Children.push_back(std::move(node));
  return Children.back().get();
}

void TXMLNode::RemoveChild(TXMLNode* node) {
  auto it =
      std::find_if(Children.begin(), Children.end(),
                   [node](const std::unique_ptr<TXMLNode>& child) { return child.get() == node; });
  if (it != Children.end()) Children.erase(it);
}

TXMLNode* TXMLNode::FindElement(const std::string& name) {
  for (auto& child : Children)
    if (child->Kind == TXMLNodeKind::Element && child->Name == name) return child.get();
  return nullptr;
}

const TXMLNode* TXMLNode::FindElement(const std::string& name) const {
  return const_cast<TXMLNode*>(this)->FindElement(name);
}
