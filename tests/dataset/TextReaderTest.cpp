#include "dataset/TextReader.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "dataset/DataSetTexts.h"
#include "dataset/PGDSStructure.h"
#include "base/Errors.h"
#include "tests/support/ReaderTexts.h"

namespace {

// Everything a line source delivers, read `chunk` characters at a time.
std::string Delivered(const std::string& text, std::size_t chunk) {
  std::istringstream in(text);
  TLineSource source(in);
  std::string out;
  std::vector<char> buffer(chunk);
  while (std::size_t n = source.Read(buffer.data(), chunk))
    out.append(buffer.data(), n);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(text.size()));
  EXPECT_EQ(source.Size(), static_cast<std::int64_t>(text.size()));
  return out;
}

// The message of the EFileFormatWarning raised by `action`, or "<none>".
template <class F> std::string Warning(F action) {
  try {
    action();
  } catch (const EFileFormatWarning& e) {
    return e.what();
  }
  return "<none>";
}

bool ParserRaisingConvertError(TTextReader& reader) {
  reader.Consumed("ab\ncd", 5);
  throw EConvertError("not a number");
}

bool ParserReportingAProblem(TTextReader& reader) {
  reader.Error("bad");
}

bool ParserAccepting(TTextReader& reader) {
  char buffer[16];
  return reader.Input(buffer, sizeof buffer) == 3 && buffer[2] == '\n';
}

} // namespace

TEST(TextReaderLineSource, EveryLineEndBecomesOneLineFeed) {
  const std::string expected = "a\nbc\n\nd\n";
  for (const char* eol : {"\n", "\r", "\r\n", "\n\r"}) {
    SCOPED_TRACE(testing::PrintToString(eol));
    const std::string e(eol);
    const std::string text = "a" + e + "bc" + e + e + "d";
    EXPECT_EQ(Delivered(text, 64), expected);
    EXPECT_EQ(Delivered(text + e, 1), expected);
  }
  // CR LF then LF CR: two line ends; LF LF and CR CR: two line ends as well.
  EXPECT_EQ(Delivered("a\r\n\n\rb\n\nc\r\r", 64), "a\n\nb\n\nc\n\n");
  // One line at a time, and a pair split across the stream buffer stays one line end.
  std::string longLine(4095, 'x');
  std::istringstream in(longLine + "\r\nz");
  TLineSource source(in);
  std::vector<char> buffer(10000);
  EXPECT_EQ(source.Read(buffer.data(), buffer.size()), 4096u);
  EXPECT_EQ(buffer[4095], '\n');
  EXPECT_EQ(source.Read(buffer.data(), buffer.size()), 2u);
  EXPECT_EQ(std::string(buffer.data(), 2), "z\n");
  EXPECT_EQ(source.Read(buffer.data(), buffer.size()), 0u);
  EXPECT_EQ(Delivered("", 8), "");
}

TEST(TextReaderContext, ErrorsNameTheLineAndColumnAndFailTheRead) {
  TPGDSStructure ds;
  std::istringstream in("");
  TTextReader reader(ds, in, "FStat");
  reader.Consumed("ab\n", 3);
  EXPECT_EQ(reader.Line, 1);
  EXPECT_EQ(reader.Column, 4);
  reader.Consumed("c", 1);
  EXPECT_EQ(Warning([&] { reader.Error(kMissingGenotype()); }),
            Format(kReadError(), kMissingGenotype().c_str(), 2, 2, "FStat"));
  EXPECT_EQ(Warning([&] { reader.ParserError("memory exhausted"); }),
            Format(kReadError(), "yyparse stack overflow", 2, 2, "FStat"));
  ASSERT_EQ(ds.Messages.size(), 2u);
  EXPECT_EQ(ds.Messages[0], Latin1("Erreur \"Génotype manquant\" à la ligne 2 colonne 2 en "
                                   "lecture de fichier FStat"));

  // ReadText: a reported problem is journalled once, any other failure with line -1.
  ds.Messages.clear();
  std::istringstream file("ok\r\n");
  EXPECT_TRUE(ReadText(ds, file, "Genetix", ParserAccepting));
  EXPECT_FALSE(ReadText(ds, file, "Genetix", ParserReportingAProblem));
  EXPECT_FALSE(ReadText(ds, file, "Genetix", ParserRaisingConvertError));
  ASSERT_EQ(ds.Messages.size(), 2u);
  EXPECT_EQ(ds.Messages[0], Format(kReadError(), "bad", 0, 0, "Genetix"));
  EXPECT_EQ(ds.Messages[1], Format(kReadError(), "not a number", -1, -1, "Genetix"));
  // Every read starts again from the beginning of the stream.
  EXPECT_TRUE(ReadText(ds, file, "Genetix", ParserAccepting));
}

TEST(TextReaderContext, BuildingOperations) {
  TPGDSStructure ds;
  std::istringstream in("");
  TTextReader reader(ds, in, "GenePop");
  reader.NewLocus("L1");
  reader.NewLocus("L2");
  reader.NewSample("");
  EXPECT_EQ(Warning([&] { reader.CloseSample(); }),
            Format(kReadError(), kMissingIndividual().c_str(), 0, 0, "GenePop"));

  reader.NewIndividual("first", 2);
  reader.AddAlleleCopy("07", 7);
  reader.AddMissingCopy();
  ++reader.LocusPosition;
  EXPECT_EQ(Warning([&] { reader.CheckGenotypeCount(); }),
            Format(kReadError(), support::CountMessage(kMissingGenotype(), 1, 2).c_str(), 0, 0,
                   "GenePop"));
  TIndividual* last = reader.NewIndividual("last", 1);
  for (int i = 0; i < 3; ++i) {
    reader.AddAlleleCopy("007", 7);
    ++reader.LocusPosition;
  }
  // Genotypes beyond the last locus are only counted.
  EXPECT_EQ(Warning([&] { reader.CheckGenotypeCount(); }),
            Format(kReadError(), support::CountMessage(kTooManyGenotypes(), 3, 2).c_str(), 0, 0,
                   "GenePop"));
  EXPECT_EQ(last->NbTypages(), 2);
  EXPECT_EQ(ds.LocusAt(0)->NbAlleles(), 2);
  const TIndividual& first = *ds.AllIndividuals.Items(0);
  EXPECT_EQ(first.GetPloidy(0), 2);
  EXPECT_EQ(first.NbAllelesTyped(0), 1);
  EXPECT_EQ(first.DeclaredPloidy, 2);

  // The unnamed sample takes its last individual's name and is found under it.
  EXPECT_EQ(Warning([&] { reader.CloseSample(); }), "<none>");
  EXPECT_EQ(ds.SampleAt(0)->Name, "last");
  EXPECT_EQ(ds.SamplesGroup.Members.IndexOf("last"), 0);
  EXPECT_EQ(ds.SampleAt(0)->Individuals.Count(), 2);
  EXPECT_EQ(ds.AllIndividuals.Count(), 2);
}

TEST(TextReaderContext, ParserStacksStopGrowingAtTheLimit) {
  TPGDSStructure ds;
  std::istringstream in("");
  TTextReader reader(ds, in, "GenePop");
  signed char firstStates[4] = {1, 2, 3, 4};
  std::string firstValues[4] = {"a", "b", "c", "d"};
  signed char* states = firstStates;
  std::string* values = firstValues;
  long size = 4;
  int grown = 0;
  while (reader.GrowParserStacks(&states, &values, &size))
    ++grown;
  EXPECT_EQ(grown, 8);
  EXPECT_EQ(size, kParserStackLimit);
  EXPECT_EQ(states[3], 4);
  EXPECT_EQ(values[0], "a");
  EXPECT_EQ(values[3], "d");
}
