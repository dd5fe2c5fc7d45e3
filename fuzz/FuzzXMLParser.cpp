// Fuzz target: the XML reader on any bytes. A document either parses into a tree or is refused
// with EXMLFileWarning; any other exception, a crash, a leak or a hang is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "xml/XMLNode.h"
#include "xml/XMLReader.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fault: %s\n", what);
  std::abort();
}

// Walks the tree without recursion and checks what every node of a parsed document must be.
void CheckTree(const TXMLNode& document) {
  if (document.Kind != TXMLNodeKind::Document) Fault("the root is not a document node");
  std::size_t elements = 0;
  for (const auto& child : document.Children)
    if (child->Kind == TXMLNodeKind::Element) ++elements;
  if (elements != 1) Fault("a document without exactly one root element");
  std::vector<const TXMLNode*> pending{&document};
  while (!pending.empty()) {
    const TXMLNode* node = pending.back();
    pending.pop_back();
    if (node->Kind == TXMLNodeKind::Attribute && !node->Children.empty())
      Fault("an attribute with children");
    if (node->Kind == TXMLNodeKind::Element && node->Name.empty()) Fault("an unnamed element");
    for (const auto& child : node->Children)
      pending.push_back(child.get());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Inputs whose size is 5 modulo 8 ask the reader to stop half way, as a user would.
  const bool stopHalfWay = size % 8 == 5;
  TXMLStringReader reader(std::move(text));
  if (stopHalfWay)
    reader.OnProgress = [](TXMLReader&, int percent, bool& abort) { abort = percent >= 50; };
  try {
    std::unique_ptr<TXMLNode> document = reader.ParseDocument();
    if (!document) Fault("no document and no error");
    CheckTree(*document);
  } catch (const EXMLFileWarning& e) {
    if (std::string(e.what()).empty()) Fault("an error without message");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "unexpected exception: %s\n", e.what());
    Fault("an exception other than EXMLFileWarning");
  }
  return 0;
}
