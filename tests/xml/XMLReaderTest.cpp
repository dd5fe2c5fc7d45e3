#include "xml/XMLReader.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "xml/XMLTexts.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TXMLNode> Parse(const std::string& text) {
  TXMLStringReader reader(text);
  return reader.ParseDocument();
}

// The message of the EXMLFileWarning raised by parsing `text`, or "<no error>".
std::string ParseError(const std::string& text) {
  try {
    Parse(text);
  } catch (const EXMLFileWarning& e) {
    return e.what();
  }
  return "<no error>";
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i)
    text += "<e>";
  for (int i = 0; i < depth; ++i)
    text += "</e>";
  return text;
}

struct TMalformed {
  std::string input;
  const char* french; // UTF-8
  const char* english;
};

const std::vector<TMalformed>& MalformedInputs() {
  static const std::vector<TMalformed> cases = {
      {"", "Fin prématurée des données", "Unexpected end of data"},
      {"<a x=\"1", "Fin prématurée des données", "Unexpected end of data"},
      {"<a x \"1\"/>", "Attribut sans signe \"=\"", "Attribute without sign \"=\""},
      {"<a x=1/>", "Attribut \"x\" sans valeur", "Attribute \"x\" empty"},
      {"<a x=\"<\"/>", "Caractère \"<\" invalide dans la valeur de l'atribut",
       "Character \"<\" invalid in attribute value"},
      {"<a>x]]>y</a>", "Les données ne peuvent pas contenir \"]]>\"",
       "Data must not contain \"]]>\""},
      {"<!-- c ---><a/>", "Les commentaires ne peuvent pas finir par  \"--->\"",
       "Comments must not end with  \"--->\""},
      {"<a><!-----></a>", "Les commentaires ne peuvent pas finir par  \"--->\"",
       "Comments must not end with  \"--->\""},
      {"text", "Elément manquant", "Missing element"},
      {"<1/>", "Elément manquant", "Missing element"},
      // A document type declaration without internal subset swallows the rest of the input.
      {"<!DOCTYPE r><r/>\n", "Elément manquant", "Missing element"},
      {"<a x=\"1\"?>", "Fin de tag incorrecte", "Incorrect end of tag"},
      {"<a/ >", "Fin de tag incorrecte", "Incorrect end of tag"},
      {"<a>text", "Tag de fin manquant pour a", "End tag missing for a"},
      {"<a><b/>", "Tag de fin manquant pour a", "End tag missing for a"},
      {"<a><b></a>", "Le nom du tag de fin \"a\" ne correspond pas au nom du tag de début \"b\"",
       "End tag \"a\" and begin tag \"b\" does not match"},
      {"<a></b>", "Le nom du tag de fin \"b\" ne correspond pas au nom du tag de début \"a\"",
       "End tag \"b\" and begin tag \"a\" does not match"},
      {"<a></a x>", "Tag de fin sans \">\"", "End tag without \">\""},
      {"<? x?><a/>", "L'instruction n'a pas de nom valide", "Invalid instruction name"},
      // The declaration is only recognised at the very first character.
      {" <?xml version=\"1.0\"?><a/>",
       "Une instruction ne peut pas contenir le mot réservé \"xml\"",
       "An instruction must not contain reserved word \"xml\""},
      {"<a/><?pi never ends", "Traitement de l'instruction non terminé",
       "Intruction treatment not ended."},
      {"<a>&#xZZ;</a>", "Entier incorrect dans la référence &#xZZ;",
       "Incorrect integer in reference &#xZZ;"},
      {"<a x=\"&#;\"/>", "Entier incorrect dans la référence &#;",
       "Incorrect integer in reference &#;"},
      {"<a>&#99999999999;</a>", "Entier incorrect dans la référence &#99999999999;",
       "Incorrect integer in reference &#99999999999;"},
      {"<a>&nbsp;</a>", "Référence non reconnue", "Unknown reference"},
      {"<a>&AMP;</a>", "Référence non reconnue", "Unknown reference"},
      {"<?xml version=\"1.0\"><a/>", "La déclaration XML ne se termine pas par \"?>\"",
       "XML Declaration does not end with \"?>\""},
      {Nested(5000), "Imbrication trop profonde des éléments", "Elements nested too deeply"},
  };
  return cases;
}

} // namespace

TEST(XmlReaderTest, XmlReaderSyntaxMessagesInBothLanguages) {
  for (const auto& c : MalformedInputs())
    EXPECT_EQ(ParseError(c.input), Latin1(c.french)) << c.input.substr(0, 40);

  SetCurrentLanguage(lang::English);
  for (const auto& c : MalformedInputs())
    EXPECT_EQ(ParseError(c.input), c.english) << c.input.substr(0, 40);
  SetCurrentLanguage(lang::French);

  // References are only read where an "&" stands, so this one cannot be provoked by a document.
  EXPECT_EQ(kXmlReferenceWithoutAmpersand.French(),
            Latin1("Les références doivent commencer par \"&\""));
  EXPECT_EQ(kXmlReferenceWithoutAmpersand.English(), "References must begin with \"&\"");
}

TEST(XmlReaderTest, XmlReaderBuildsTheTree) {
  auto doc = Parse("<?xml version=\"1.0\" encoding='ISO-8859-1' ?>\n"
                   "<!-- a -- b -->\n<?style  sheet data ?>\n"
                   "<!DOCTYPE r [ <!ELEMENT r ANY> ]>\n"
                   "<r id=\"7\"y='2'>  x &amp; y  <b/>z<?pi?><c>&#x41;&#66;&#321;</c></r>\n"
                   "ignored < & garbage");
  ASSERT_EQ(doc->ChildCount(), 3);
  EXPECT_EQ(doc->Kind, TXMLNodeKind::Document);

  const TXMLNode* decl = doc->GetChild(0);
  EXPECT_EQ(decl->Kind, TXMLNodeKind::XMLDeclaration);
  ASSERT_EQ(decl->ChildCount(), 2);
  EXPECT_EQ(decl->GetChild(1)->Name, "encoding");
  EXPECT_EQ(decl->GetChild(1)->Value, "ISO-8859-1");

  const TXMLNode* style = doc->GetChild(1);
  EXPECT_EQ(style->Kind, TXMLNodeKind::ProcessingInstruction);
  EXPECT_EQ(style->Name, "style");
  EXPECT_EQ(style->Value, "sheet data ");

  const TXMLNode* r = doc->GetChild(2);
  EXPECT_STREQ(r->KindName(), "Element");
  EXPECT_EQ(r->Name, "r");
  // Text on both sides of a child is joined without separator; the whole is trimmed once.
  EXPECT_EQ(r->Value, "x & y  z");
  ASSERT_EQ(r->ChildCount(), 5);
  EXPECT_EQ(r->GetChild(0)->Kind, TXMLNodeKind::Attribute);
  EXPECT_EQ(r->GetChild(0)->Value, "7");
  EXPECT_EQ(r->GetChild(1)->Name, "y");
  EXPECT_EQ(r->GetChild(2)->Name, "b");
  EXPECT_EQ(r->GetChild(3)->Kind, TXMLNodeKind::ProcessingInstruction);
  EXPECT_EQ(r->GetChild(3)->Value, "");
  EXPECT_EQ(r->FindElement("c")->Value, "ABA"); // 321 keeps its lowest 8 bits: 65

  // Attribute values keep their blanks; references are decoded without losing what follows.
  auto a = Parse("<a v=\" a&amp;b&lt;&gt;&quot;&apos; \" w='&#233;'/>");
  EXPECT_EQ(a->GetChild(0)->GetChild(0)->Value, " a&b<>\"' ");
  EXPECT_EQ(a->GetChild(0)->GetChild(1)->Value, "\xE9");

  // CDATA is taken literally; comments vanish; Latin-1 middle dot is a name character.
  auto cdata = Parse("<n\xB7m><![CDATA[<x>&amp;]]><!-- no --> tail</n\xB7m>");
  EXPECT_EQ(cdata->GetChild(0)->Name, "n\xB7m");
  EXPECT_EQ(cdata->GetChild(0)->Value, "<x>&amp; tail");
}

TEST(XmlReaderTest, XmlReaderAcceptsDocumentsWithoutFinalLineFeed) {
  auto single = Parse("<a/>");
  ASSERT_EQ(single->ChildCount(), 1);
  EXPECT_EQ(single->GetChild(0)->Name, "a");

  auto declared = Parse("<?xml version=\"1.0\"?>\n<r><a/></r>");
  ASSERT_EQ(declared->ChildCount(), 2);
  EXPECT_EQ(declared->GetChild(1)->FindElement("a")->Name, "a");

  auto attributes = Parse("<r><a x=\"1\"y='2'/></r>");
  EXPECT_EQ(attributes->GetChild(0)->GetChild(0)->ChildCount(), 2);

  EXPECT_EQ(Parse("<r>t</r>")->GetChild(0)->Value, "t");
  EXPECT_EQ(Parse("<r></r >")->GetChild(0)->Name, "r");
  EXPECT_EQ(Parse("<a/>\n<!-- end -->")->ChildCount(), 1);
}

TEST(XmlReaderTest, XmlReaderBoundsNestingDepth) {
  auto deep = Parse(Nested(4000));
  int depth = 0;
  for (const TXMLNode* node = deep.get(); node->ChildCount() > 0; node = node->GetChild(0))
    ++depth;
  EXPECT_EQ(depth, 4000);

  EXPECT_NO_THROW(Parse(Nested(4096)));
  EXPECT_EQ(ParseError(Nested(4097)), Latin1("Imbrication trop profonde des éléments"));
}

TEST(XmlReaderTest, XmlReaderReportsGrowingProgressAndStops) {
  std::string text = "<r>" + std::string(994, 'x') + "</r>"; // 1001 characters
  TXMLStringReader reader(text);
  std::vector<int> percents;
  reader.OnProgress = [&](TXMLReader& sender, int percent, bool&) {
    EXPECT_EQ(&sender, &reader);
    percents.push_back(percent);
  };
  auto doc = reader.ParseDocument();
  EXPECT_EQ(doc->GetChild(0)->Value.size(), 994u);
  ASSERT_FALSE(percents.empty());
  for (size_t i = 1; i < percents.size(); ++i)
    EXPECT_GT(percents[i], percents[i - 1]);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_LE(percents.size(), 100u);

  // A short text never reports beyond 100, and look-ahead that backs up reports nothing twice.
  TXMLStringReader small("<a><b/></a>");
  std::vector<int> smallPercents;
  small.OnProgress = [&](TXMLReader&, int percent, bool&) { smallPercents.push_back(percent); };
  small.ParseDocument();
  for (size_t i = 1; i < smallPercents.size(); ++i)
    EXPECT_GT(smallPercents[i], smallPercents[i - 1]);
  EXPECT_EQ(smallPercents.back(), 100);

  // Aborting makes the input look exhausted: the parse ends on the premature end.
  TXMLStringReader stopped("<r v=\"" + std::string(990, 'x') + "\"/>");
  stopped.OnProgress = [](TXMLReader&, int percent, bool& abort) { abort = percent >= 50; };
  try {
    stopped.ParseDocument();
    ADD_FAILURE() << "a stopped parse must fail";
  } catch (const EXMLFileWarning& e) {
    EXPECT_EQ(e.what(), Latin1("Fin prématurée des données"));
  }
  EXPECT_TRUE(stopped.Eof());
  EXPECT_EQ(stopped.Pos, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(stopped.LastPercent, 50);
  stopped.Next();
  EXPECT_EQ(stopped.Current, 0);
}

TEST(XmlReaderTest, XmlReaderNodeChildren) {
  TXMLNode root;
  TXMLNode* a = root.AddChild(std::make_unique<TXMLNode>(TXMLNodeKind::Attribute, "a"));
  TXMLNode* b = root.AddChild(std::make_unique<TXMLNode>(TXMLNodeKind::Element, "a"));
  EXPECT_EQ(root.FindElement("a"), b); // attributes are not elements
  EXPECT_THROW(root.GetChild(2), EListError);
  EXPECT_THROW(root.GetChild(-1), EListError);
  root.RemoveChild(a);
  ASSERT_EQ(root.ChildCount(), 1);
  EXPECT_EQ(root.GetChild(0), b);
  EXPECT_STREQ(XMLNodeKindName(TXMLNodeKind::XMLDeclaration), "XMLDeclaration");
}
