// Genotype XML files that are damaged or built to exhaust the reader: numbers out of range,
// more alleles than codes, files too large to hold, deep trees, many samples.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>

#include "dataset/DataSetTexts.h"
#include "base/Errors.h"
#include "model/ModelTexts.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"
#include "xml/XMLTexts.h"

using namespace support;

namespace {

const char kHead[] = "<?xml version=\"1.0\"?>\n<QUAV><fileType>genotypes</fileType>\n";

// One locus L with the given allele list, and one sample holding the given individuals.
std::string File(const std::string& alleles, const std::string& individuals) {
  return kHead + std::string("<lociList><locus><locusName>L</locusName><allelesList>") + alleles +
         "</allelesList></locus></lociList>\n<samplesList><sample><sampleName>S</sampleName>" +
         individuals + "</sample></samplesList></QUAV>\n";
}

std::string Allele(const std::string& name, const std::string& length = "0") {
  return "<allele><alleleName>" + name + "</alleleName><alleleLength>" + length +
         "</alleleLength></allele>";
}

std::string Individual(const std::string& genes, const std::string& more = std::string()) {
  return "<individual><individualName>i</individualName>" + more + "<genotype locName=\"L\">" +
         genes + "</genotype></individual>";
}

std::string Gene(const std::string& name) {
  return "<gene alName=\"" + name + "\"/>";
}

// The load of `text` fails with the load-failure line made of `message`, or with any message
// when `message` is empty; the data set is left empty.
void ExpectRefused(const std::string& text, const std::string& message, const std::string& what) {
  TPGDSStructure ds;
  EXPECT_FALSE(LoadXMLText(ds, text)) << what;
  ASSERT_FALSE(ds.Messages.empty()) << what;
  if (!message.empty()) {
    EXPECT_EQ(ds.Messages.back(), Format(kIncorrectXMLFile(), message.c_str())) << what;
  }
  EXPECT_EQ(ds.LociCount(), 0) << what;
  EXPECT_EQ(ds.SamplesCount(), 0) << what;
  EXPECT_EQ(ds.AllIndividuals.Count(), 0) << what;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(MalformedXML, NumbersOutOfRangeAreRefused) {
  ASSERT_TRUE([] {
    TPGDSStructure ds;
    return LoadXMLText(ds, File(Allele("120", "120"), Individual(Gene("120") + Gene("NIL"))));
  }());
  for (const char* number : {"2147483648", "-2147483649", "4294967297", "18446744073709551617",
                             "99999999999999999999999999", "12x", "0x10", ""}) {
    ExpectRefused(File(Allele("120", number), ""), "", std::string("length ") + number);
    ExpectRefused(File("", Individual(Gene("120"), std::string("<individualGeneration>") + number +
                                                       "</individualGeneration>")),
                  "", std::string("generation ") + number);
  }
  // An allele named by a number too large for a length is an allele of length 0.
  TPGDSStructure ds;
  ASSERT_TRUE(LoadXMLText(ds, File("", Individual(Gene("4294967297") + Gene("4294967297")))));
  EXPECT_EQ(ds.LocusAt(0)->GetAllele(0)->Length, 0);
  // References beyond 32 bits.
  for (const char* reference : {"&#4294967361;", "&#x100000041;", "&#99999999999999999999;"})
    ExpectRefused(File(Allele(reference), ""), "", reference);
}

TEST(MalformedXML, MoreAllelesThanCodesOrCopiesThanAPloidyAreRefused) {
  // Allele codes are 16-bit: 32767 alleles at most per locus, whether declared or named by the
  // genotypes only.
  std::string declared, genes;
  for (int a = 0; a <= 32767; ++a)
    declared += Allele("a" + std::to_string(a));
  for (int a = 0; a < 16384; ++a)
    genes += Individual(Gene("g" + std::to_string(2 * a)) + Gene("g" + std::to_string(2 * a + 1)));
  const std::string tooMany = Format(kTooManyAlleles(), "L", 32767);
  const auto start = std::chrono::steady_clock::now();
  ExpectRefused(File(declared, ""), tooMany, "declared");
  ExpectRefused(File(Allele("x"), genes), tooMany, "named");
  EXPECT_LT(SecondsSince(start), 30.0);

  // Ploidies are 8-bit: 255 copies at most, in one genotype element or spread over several.
  std::string copies;
  for (int c = 0; c < 255; ++c)
    copies += Gene(c < 127 ? "120" : "NIL");
  TPGDSStructure ds;
  ASSERT_TRUE(LoadXMLText(ds, File("", Individual(copies))));
  EXPECT_EQ(ds.AllIndividuals.Items(0)->GetPloidy(0), 255);
  const std::string incorrect = Format(kIncorrectGenotype(), "L", "i");
  ExpectRefused(File("", Individual(copies + Gene("NIL"))), incorrect, "one element");
  ExpectRefused(File("", "<individual><individualName>i</individualName><genotype locName=\"L\">" +
                             copies + "</genotype><genotype locName=\"L\">" + Gene("120") +
                             "</genotype></individual>"),
                incorrect, "two elements");
}

TEST(MalformedXML, FilesTooLargeOrOfAnotherFormatAreNotHeldInMemory) {
  TScratchFolder folder;
  // A sparse file larger than the reader can address: refused before a byte is read.
  const std::string huge = folder.File("huge.xml");
  const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{1} << 31), 0);
  ::close(fd);
  auto start = std::chrono::steady_clock::now();
  {
    std::ifstream in(huge, std::ios::binary);
    TPGDSStructure ds;
    EXPECT_FALSE(LoadXML(ds, in));
    EXPECT_EQ(ds.Messages,
              std::vector<std::string>{
                  Format(kIncorrectXMLFile(), Format(kXMLFileTooLarge(), "2147483646").c_str())});
  }
  EXPECT_LT(SecondsSince(start), 5.0);

  // A large file that is not XML: the reader stops at its first byte.
  std::string notXML(64 << 20, 'a');
  start = std::chrono::steady_clock::now();
  {
    std::istringstream in("  \n" + notXML);
    TPGDSStructure ds;
    EXPECT_FALSE(LoadXML(ds, in));
    EXPECT_EQ(ds.Messages,
              std::vector<std::string>{Format(kIncorrectXMLFile(), kXmlMissingElement().c_str())});
  }
  EXPECT_LT(SecondsSince(start), 10.0);
}

TEST(MalformedXML, DeepTreesAndManySamplesLoadPromptly) {
  // Nesting beyond the reader's depth limit is refused without exhausting the stack.
  std::string deep = kHead;
  for (int d = 0; d < 200000; ++d)
    deep += "<a>";
  ExpectRefused(deep, kXmlNestedTooDeeply(), "deep");

  // A group tree 2000 groups deep reads, saves and reads back.
  std::string groups;
  for (int d = 0; d < 2000; ++d)
    groups += "<group><groupName>G" + std::to_string(d) + "</groupName>";
  groups += "<includedSample>S</includedSample>";
  for (int d = 0; d < 2000; ++d)
    groups += "</group>";
  std::string text = File(Allele("1"), Individual(Gene("1") + Gene("1")));
  text.insert(text.rfind("</QUAV>"), "<groupsList>" + groups + "</groupsList>");
  TPGDSStructure ds;
  ASSERT_TRUE(LoadXMLText(ds, text)) << ds.Messages.back();
  TPGDSStructure back;
  ASSERT_TRUE(LoadXMLText(back, SaveXMLText(ds)));
  EXPECT_EQ(SaveXMLText(back), SaveXMLText(ds));

  // Many samples outside any group: each is added to the root once, in file order.
  std::string samples;
  for (int s = 0; s < 30000; ++s)
    samples += "<sample><sampleName>S" + std::to_string(s) + "</sampleName></sample>\n";
  const auto start = std::chrono::steady_clock::now();
  TPGDSStructure many;
  ASSERT_TRUE(LoadXMLText(many, kHead + std::string("<samplesList>") + samples +
                                    "</samplesList></QUAV>\n"));
  EXPECT_LT(SecondsSince(start), 30.0);
  ASSERT_EQ(many.RootGroup.Members.Count(), 30000);
  EXPECT_EQ(many.RootGroup.Members.Items(29999)->Name, "S29999");
  EXPECT_EQ(many.Messages.back(), Format(kSampleAddedToRoot(), "S29999"));
}
