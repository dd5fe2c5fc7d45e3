#include "xml/XMLReader.h"

#include "base/Errors.h"
#include "xml/XMLTexts.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t kExhausted = std::numeric_limits<std::int32_t>::max();
// Deepest element nesting accepted; deeper documents are refused rather than risking the stack
// of whatever walks the tree afterwards.
constexpr size_t kMaxElementDepth = 4096;

bool IsWhitespace(char c) {
  return c == 9 || c == 10 || c == 13 || c == 32;
}

bool IsNameStart(char c) {
  return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z');
}

bool IsNameChar(char c) {
  return IsNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') ||
         static_cast<unsigned char>(c) == 0xB7;
}

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Removes every character with code 0 to 32 at both ends.
void Trim(std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  text.erase(last, text.end());
  auto first = std::find_if_not(text.begin(), text.end(), blank);
  text.erase(text.begin(), first);
}

[[noreturn]] void Fail(const TText& text) {
  throw EXMLFileWarning(text());
}

// Reads the digits of a numeric character reference; false when they do not form a number.
bool ParseReferenceNumber(std::string_view digits, int base, std::uint32_t& value) {
  if (digits.empty()) return false;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x7FFFFFFFull;
  std::uint64_t n = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    n = n * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (n > limit) return false;
  }
  value = static_cast<std::uint32_t>(n);
  return true;
}

// The recursive-descent grammar, run over any reader. Element nesting is handled with an
// explicit stack of open elements so that deep documents cost heap, not machine stack.
class TXMLParser {
public:
  explicit TXMLParser(TXMLReader& reader) : r_(reader) {}

  std::unique_ptr<TXMLNode> ParseDocument() {
    NextOrFail();
    auto document = std::make_unique<TXMLNode>();
    ParseProlog(*document);
    if (!ParseElement(*document)) Fail(kXmlMissingElement);
    while (ParseMisc(*document)) {
    }
    return document;
  }

private:
  TXMLReader& r_;

  void NextOrFail() {
    if (r_.Eof()) Fail(kXmlUnexpectedEnd);
    r_.Next();
  }

  bool SkipWhitespace() {
    bool skipped = false;
    while (IsWhitespace(r_.Current)) {
      r_.Next();
      skipped = true;
      if (r_.Eof()) break;
    }
    return skipped;
  }

  // Consumes `s` when the input continues with it (or with a prefix of it that reaches the end
  // of the input); otherwise leaves the reader where it was.
  bool Match(std::string_view s) {
    if (s.empty() || r_.Current != s[0]) return false;
    std::unique_ptr<TXMLReaderState> saved = r_.SaveState();
    for (char expected : s) {
      if (r_.Current != expected) {
        r_.RestoreState(*saved);
        r_.FreeState(std::move(saved));
        return false;
      }
      r_.Next();
      if (r_.Eof()) break;
    }
    r_.FreeState(std::move(saved));
    return true;
  }

  bool ReadName(std::string& name) {
    if (!IsNameStart(r_.Current)) return false;
    name.clear();
    do {
      name.push_back(r_.Current);
      NextOrFail();
    } while (IsNameChar(r_.Current));
    return true;
  }

  char ReadReference() {
    if (r_.Current != '&') Fail(kXmlReferenceWithoutAmpersand);
    NextOrFail();
    std::string ref;
    while (r_.Current != ';') {
      ref.push_back(r_.Current);
      NextOrFail();
    }
    char byte;
    if (!ref.empty() && ref[0] == '#') {
      const bool hex = ref.size() >= 2 && ref[1] == 'x';
      std::uint32_t number = 0;
      if (!ParseReferenceNumber(std::string_view(ref).substr(hex ? 2 : 1), hex ? 16 : 10, number))
        throw EXMLFileWarning(Format(kXmlIncorrectReferenceInteger(), ref.c_str()));
      byte = static_cast<char>(number & 0xFF);
    } else if (ref == "amp") {
      byte = '&';
    } else if (ref == "lt") {
      byte = '<';
    } else if (ref == "gt") {
      byte = '>';
    } else if (ref == "quot") {
      byte = '"';
    } else if (ref == "apos") {
      byte = '\'';
    } else {
      Fail(kXmlUnknownReference);
    }
    NextOrFail();
    return byte;
  }

  bool ReadQuotedValue(std::string& value) {
    const char quote = r_.Current;
    if (quote != '"' && quote != '\'') return false;
    NextOrFail();
    value.clear();
    while (r_.Current != quote) {
      if (r_.Current == '<') throw EXMLFileWarning(Format(kXmlInvalidAttributeChar(), "<"));
      if (r_.Current == '&') {
        value.push_back(ReadReference()); // already past the ";"
      } else {
        value.push_back(r_.Current);
        NextOrFail();
      }
    }
    NextOrFail();
    return true;
  }

  bool ParseAttribute(TXMLNode& parent) {
    std::string name;
    if (!ReadName(name)) return false;
    SkipWhitespace();
    if (r_.Current != '=') Fail(kXmlAttributeWithoutEquals);
    NextOrFail();
    SkipWhitespace();
    std::string value;
    if (!ReadQuotedValue(value))
      throw EXMLFileWarning(Format(kXmlAttributeWithoutValue(), name.c_str()));
    parent.AddChild(
        std::make_unique<TXMLNode>(TXMLNodeKind::Attribute, std::move(name), std::move(value)));
    return true;
  }

  void ParseAttributes(TXMLNode& node) {
    do {
      SkipWhitespace();
    } while (ParseAttribute(node));
  }

  // Consumes characters up to and including `terminator`, or up to the end of the input.
  // Comments additionally refuse to end with "--->".
  void SkipUntil(std::string_view terminator, bool comment) {
    std::string text;
    bool done;
    do {
      text.push_back(r_.Current);
      if (comment && EndsWith(text, "--->")) Fail(kXmlCommentTripleDash);
      done = EndsWith(text, terminator);
      if (r_.Eof()) break;
      r_.Next();
    } while (!done);
  }

  void ParseProlog(TXMLNode& document) {
    // The declaration is recognised only at the very first character; a document type
    // declaration is one of the Misc forms.
    ParseXMLDeclaration(document);
    while (ParseMisc(document)) {
    }
  }

  bool ParseXMLDeclaration(TXMLNode& document) {
    if (!Match("<?xml")) return false;
    TXMLNode* declaration =
        document.AddChild(std::make_unique<TXMLNode>(TXMLNodeKind::XMLDeclaration, std::string()));
    ParseAttributes(*declaration);
    SkipWhitespace();
    if (!Match("?>")) Fail(kXmlDeclarationUnterminated);
    return true;
  }

  bool ParseMisc(TXMLNode& parent) {
    return SkipWhitespace() || ParseComment() || ParseProcessingInstruction(parent) ||
           ParseDoctype();
  }

  bool ParseComment() {
    if (!Match("<!--")) return false;
    SkipUntil("-->", true);
    return true;
  }

  // Skipped without interpretation, up to the next "]>".
  bool ParseDoctype() {
    if (!Match("<!DOCTYPE")) return false;
    SkipUntil("]>", false);
    return true;
  }

  bool ParseProcessingInstruction(TXMLNode& parent) {
    if (!Match("<?")) return false;
    std::string name;
    if (!ReadName(name)) Fail(kXmlInvalidInstructionName);
    if (name == "xml") Fail(kXmlReservedInstructionName);
    auto node = std::make_unique<TXMLNode>(TXMLNodeKind::ProcessingInstruction, std::move(name));
    SkipWhitespace();
    std::string text;
    bool done;
    do {
      text.push_back(r_.Current);
      done = EndsWith(text, "?>");
      if (!done && r_.Eof()) Fail(kXmlUnterminatedInstruction);
      if (r_.Eof()) break;
      r_.Next();
    } while (!done);
    text.resize(text.size() - 2);
    node->Value = std::move(text);
    parent.AddChild(std::move(node));
    return true;
  }

  // Reads a start tag at nesting level `depth` and adds the element to `parent`. Answers null
  // when no element starts here; `open` tells whether content and an end tag follow.
  TXMLNode* ParseStartTag(TXMLNode& parent, size_t depth, bool& open) {
    if (r_.Current != '<') return nullptr;
    std::unique_ptr<TXMLReaderState> saved = r_.SaveState();
    NextOrFail();
    std::string name;
    if (!ReadName(name)) {
      r_.RestoreState(*saved);
      r_.FreeState(std::move(saved));
      return nullptr;
    }
    r_.FreeState(std::move(saved));
    if (depth > kMaxElementDepth) Fail(kXmlNestedTooDeeply);
    TXMLNode* element =
        parent.AddChild(std::make_unique<TXMLNode>(TXMLNodeKind::Element, std::move(name)));
    try {
      ParseAttributes(*element);
      if (r_.Current == '/') {
        NextOrFail();
        if (r_.Current != '>') Fail(kXmlIncorrectTagEnd);
        // An empty-element tag may be the last thing of the input.
        r_.Next();
        open = false;
      } else if (r_.Current == '>') {
        NextOrFail();
        open = true;
      } else {
        Fail(kXmlIncorrectTagEnd);
      }
    } catch (...) {
      parent.RemoveChild(element);
      throw;
    }
    return element;
  }

  bool ParseElement(TXMLNode& parent) {
    bool open = false;
    TXMLNode* top = ParseStartTag(parent, 1, open);
    if (top == nullptr) return false;
    if (!open) return true;
    // The open elements, outermost first; each is owned by the one before it.
    std::vector<TXMLNode*> stack{top};
    try {
      while (!stack.empty()) {
        TXMLNode& element = *stack.back();
        if (TXMLNode* child = ParseContent(element, stack.size() + 1)) {
          stack.push_back(child);
          continue;
        }
        Trim(element.Value);
        if (!ParseEndTag(element))
          throw EXMLFileWarning(Format(kXmlMissingEndTag(), element.Name.c_str()));
        stack.pop_back();
      }
    } catch (...) {
      // The element being built goes, with everything read inside it.
      parent.RemoveChild(top);
      throw;
    }
    return true;
  }

  // Reads the content of `element` until something that is not content. Answers a child
  // element whose own content is still to be read, or null at the end of this content.
  TXMLNode* ParseContent(TXMLNode& element, size_t childDepth) {
    for (;;) {
      if (ParseCDATA(element) || ParseProcessingInstruction(element) || ParseComment()) continue;
      bool open = false;
      if (TXMLNode* child = ParseStartTag(element, childDepth, open)) {
        if (open) return child;
        continue;
      }
      if (ParseCharData(element)) continue;
      if (r_.Current == '&') {
        element.Value.push_back(ReadReference());
        continue;
      }
      return nullptr;
    }
  }

  bool ParseCDATA(TXMLNode& element) {
    if (!Match("<![CDATA[")) return false;
    std::string text;
    while (!EndsWith(text, "]]>")) {
      text.push_back(r_.Current);
      NextOrFail();
    }
    element.Value.append(text, 0, text.size() - 3);
    return true;
  }

  bool ParseCharData(TXMLNode& element) {
    std::string text;
    while (r_.Current != 0 && r_.Current != '&' && r_.Current != '<') {
      text.push_back(r_.Current);
      r_.Next();
    }
    if (text.find("]]>") != std::string::npos) Fail(kXmlDataWithCDataEnd);
    element.Value += text;
    return !text.empty();
  }

  bool ParseEndTag(const TXMLNode& element) {
    std::string name;
    if (!Match("</") || !ReadName(name)) return false;
    if (name != element.Name)
      throw EXMLFileWarning(Format(kXmlEndTagMismatch(), name.c_str(), element.Name.c_str()));
    SkipWhitespace();
    if (r_.Current != '>') Fail(kXmlEndTagWithoutGt);
    r_.Next();
    return true;
  }
};

} // namespace

std::unique_ptr<TXMLNode> TXMLReader::ParseDocument() {
  return TXMLParser(*this).ParseDocument();
}

TXMLStringReader::TXMLStringReader(std::string text) : Text(std::move(text)) {}

bool TXMLStringReader::Eof() const {
  // Beyond 2^31 - 1 characters the position cannot grow: the input is cut there.
  return Pos == kExhausted || static_cast<size_t>(Pos) > Text.size();
}

void TXMLStringReader::FreeState(std::unique_ptr<TXMLReaderState> state) {
  state.reset();
}

void TXMLStringReader::Next() {
  if (Eof()) {
    Current = 0;
    return;
  }
  Current = Text[static_cast<size_t>(Pos) - 1];
  ++Pos;
  // 64-bit product: a 32-bit one would overflow on files of a few tens of megabytes. The
  // percentage is capped at 100, which the last character of a short text would exceed.
  const auto length = static_cast<std::int64_t>(Text.size());
  const auto percent =
      static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{Pos} * 100 / length, 100));
  if (percent > LastPercent) {
    LastPercent = percent;
    if (OnProgress) {
      bool abort = false;
      OnProgress(*this, percent, abort);
      if (abort) Pos = kExhausted;
    }
  }
}

void TXMLStringReader::RestoreState(const TXMLReaderState& state) {
  const auto& saved = static_cast<const TXMLStringReaderState&>(state);
  Pos = saved.Pos;
  Current = saved.Current;
}

std::unique_ptr<TXMLReaderState> TXMLStringReader::SaveState() {
  return std::make_unique<TXMLStringReaderState>(Pos, Current);
}
