#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/Files.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"

using namespace support;

namespace {

// The message of the exception of type E raised by `action`, or "<none>".
template <class E, class F> std::string ErrorOf(F action) {
  try {
    action();
  } catch (const E& e) {
    return e.what();
  }
  return "<none>";
}

std::string SmallXML() {
  TPGDSStructure ds;
  MakeSmallDataSet(ds);
  return SaveXMLText(ds);
}

// The readers that reported a failure, in journal order, named as in their journal lines.
std::vector<std::string> ReadersInJournal(const TPGDSStructure& ds) {
  const std::string xml = "Fichier XML incorrect : ", text = " en lecture de fichier ";
  std::vector<std::string> readers;
  for (const auto& line : ds.Messages) {
    if (line.rfind(xml, 0) == 0)
      readers.push_back("XML");
    else if (size_t p = line.rfind(text); p != std::string::npos)
      readers.push_back(line.substr(p + text.size()));
  }
  return readers;
}

// `order` without the readers that wrote nothing (formats whose reader is not written yet).
std::vector<std::string> Reported(std::vector<std::string> order,
                                  const std::vector<std::string>& seen) {
  std::erase_if(order, [&](const std::string& r) {
    return std::find(seen.begin(), seen.end(), r) == seen.end();
  });
  return order;
}

} // namespace

// Which readers ran, and in which order, shows in the journal lines of a file nobody reads.
TEST(DataSet, DetectsTheFormat) {
  TScratchFolder folder;
  const std::string xml = SmallXML();
  TPGDSStructure ds;

  // An upper-case extension names the XML reader first.
  WriteFile(folder.File("x.XML"), xml);
  ds.LoadFromFile(folder.File("x.XML"), TReadFormat::Unknown);
  EXPECT_EQ(ds.FileFormat, TReadFormat::XMLGenotypes);
  EXPECT_EQ(ds.FormatName(), Latin1("XML génotypes"));
  EXPECT_EQ(ds.FileName, folder.File("x.XML"));
  EXPECT_TRUE(ds.Messages.empty());
  EXPECT_EQ(ds.SamplesCount(), 2);

  // Without a known extension the XML reader comes last; a requested Genepop reader first.
  WriteFile(folder.File("data.txt"), xml);
  for (TReadFormat format : {TReadFormat::Unknown, TReadFormat::GenePop2, TReadFormat::Fstat}) {
    ds.LoadFromFile(folder.File("data.txt"), format);
    EXPECT_EQ(ds.FileFormat, TReadFormat::XMLGenotypes) << ReadFormatCode(format);
  }

  // A file nobody reads: every reader ran once, the requested one first, then the one of the
  // extension, then the others in their fixed order.
  WriteFile(folder.File("bad.xml"), "not a genotype file");
  const struct {
    TReadFormat code;
    std::vector<std::string> order;
  } cases[] = {
      {TReadFormat::Unknown, {"XML", "FStat", "GenePop", "Genetix", "Molva PRN"}},
      {TReadFormat::XMLGenotypes, {"XML", "FStat", "GenePop", "Genetix", "Molva PRN"}},
      {TReadFormat::MolvaPRN, {"Molva PRN", "XML", "FStat", "GenePop", "Genetix"}},
      {TReadFormat::GenePopHaploid, {"GenePop", "XML", "FStat", "Genetix", "Molva PRN"}},
  };
  for (const auto& c : cases) {
    const std::string path = folder.File("bad.xml");
    EXPECT_EQ(ErrorOf<EFileFormatError>([&] { ds.LoadFromFile(path, c.code); }),
              Format(kInvalidFile(), path.c_str()));
    const std::vector<std::string> seen = ReadersInJournal(ds);
    EXPECT_EQ(seen.size(), ds.Messages.size());
    EXPECT_EQ(seen, Reported(c.order, seen)) << ReadFormatCode(c.code);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "XML"), 1);
    EXPECT_EQ(ds.FileFormat, TReadFormat::Unknown);
    EXPECT_EQ(ds.LociCount(), 0);
    EXPECT_TRUE(ds.FileName.empty());
  }
  // A new load starts a new journal.
  ds.LoadFromFile(folder.File("x.XML"), TReadFormat::Unknown);
  EXPECT_TRUE(ds.Messages.empty());
}

TEST(DataSet, OpenFailures) {
  TScratchFolder folder;
  WriteFile(folder.File("x.xml"), SmallXML());
  for (const std::string& path : {folder.File("missing.xml"), folder.Path.string()}) {
    TPGDSStructure ds;
    ds.LoadFromFile(folder.File("x.xml"), TReadFormat::Unknown);
    const std::string expected = Format(kCannotOpenFile(), path.c_str());
    EXPECT_EQ(ErrorOf<EFileOpenError>([&] { ds.LoadFromFile(path, TReadFormat::Unknown); }),
              expected);
    EXPECT_EQ(ds.Messages, std::vector<std::string>{expected});
    EXPECT_EQ(ds.SamplesCount(), 0);
    EXPECT_EQ(ds.FileFormat, TReadFormat::Unknown);
  }
  SetDataSetLanguage(lang::English);
  TPGDSStructure ds;
  const std::string message =
      ErrorOf<EFileOpenError>([&] { ds.LoadFromFile("/nonexistent/f", TReadFormat::Unknown); });
  const std::string format =
      ReadFormatName(ReadFormatFromCode(128 + ReadFormatCode(TReadFormat::XMLGenotypes)));
  SetDataSetLanguage(0);
  EXPECT_EQ(message, "Unable to open file \"/nonexistent/f\"");
  EXPECT_EQ(format, "XML genotypes");
  EXPECT_EQ(WriteFormatName(TWriteFormat::GenePopHaploid), Latin1("GenePop Haploïde"));
}

TEST(DataSet, StopDuringLoad) {
  TScratchFolder folder;
  WriteFile(folder.File("x.xml"), SmallXML());
  TPGDSStructure ds;
  ds.onDataStructureEvent = [](TLogger&, int, bool& stop) { stop = true; };
  EXPECT_EQ(ErrorOf<EFileFormatError>(
                [&] { ds.LoadFromFile(folder.File("x.xml"), TReadFormat::Unknown); }),
            Latin1("L'opération a été interrompue par l'utilisateur"));
  EXPECT_TRUE(ds.Stop);
  EXPECT_EQ(ds.SamplesCount(), 0);
  EXPECT_EQ(ds.RootGroup.Members.Count(), 0);
  // The next load starts without the stop.
  ds.onDataStructureEvent = nullptr;
  ds.LoadFromFile(folder.File("x.xml"), TReadFormat::Unknown);
  EXPECT_FALSE(ds.Stop);
  EXPECT_EQ(ds.SamplesCount(), 2);
}

// Text readers own their individuals in AllIndividuals; the root receives copies of the samples.
TEST(DataSet, RootCopiesTheSamplesOfTextFormats) {
  TPGDSStructure ds;
  TLocus* locus = AddLocus(ds, "A");
  locus->FindOrAddAllele("120", 120, 120, "");
  locus->FindOrAddAllele("124", 124, 124, "");
  for (const char* name : {"P1", "P2"}) {
    TSample* sample = AddSample(ds, name);
    for (int k = 0; k < 2; ++k) {
      auto individual = std::make_unique<TIndividual>(name + std::to_string(k), 1, 2);
      individual->AddGene(0, 0);
      individual->AddGene(0, static_cast<std::int16_t>(k));
      sample->Individuals.Add(ds.AllIndividuals.Adopt(std::move(individual)));
    }
  }
  ds.DataLoaded();
  EXPECT_EQ(ds.RootGroup.Name, "samples");
  ASSERT_EQ(ds.RootGroup.Members.Count(), 2);
  for (int i = 0; i < 2; ++i) {
    const TGroupAbstract& copy = *ds.RootGroup.Members.Items(i);
    EXPECT_NE(&copy, ds.SampleAt(i));
    EXPECT_EQ(copy.Name, ds.SampleAt(i)->Name);
    EXPECT_NE(copy.Individuals.Items(0), ds.SampleAt(i)->Individuals.Items(0));
  }
  EXPECT_EQ(ds.SampleAt(0)->NbGenes(0), 4);
  EXPECT_EQ(ds.RootGroup.NbGenes(0), 8);
  EXPECT_EQ(ds.RootGroup.AlleleCount(0, 0), 6);

  ds.Clear();
  EXPECT_EQ(ds.RootGroup.Name, "Root");
  EXPECT_EQ(ds.SamplesGroup.Name, "samples");
  EXPECT_EQ(ds.AllIndividuals.Count(), 0);
  EXPECT_EQ(ds.LociCount(), 0);
}

// The root's copies keep the tallies the samples had when they were copied: recounting a sample
// changes neither the root's copy of it nor the copies of its individuals.
TEST(DataSet, RootCopiesKeepTheirTalliesWhenASampleIsRecounted) {
  TPGDSStructure ds;
  TLocus* locus = AddLocus(ds, "A");
  locus->FindOrAddAllele("120", 120, 120, "");
  locus->FindOrAddAllele("124", 124, 124, "");
  TSample* sample = AddSample(ds, "P1");
  for (int k = 0; k < 2; ++k) {
    auto individual = std::make_unique<TIndividual>("i" + std::to_string(k), 1, 2);
    individual->AddGene(0, 0);
    individual->AddGene(0, static_cast<std::int16_t>(k));
    sample->Individuals.Add(ds.AllIndividuals.Adopt(std::move(individual)));
  }
  ds.DataLoaded();
  const TGroupAbstract& copy = *ds.RootGroup.Members.Items(0);

  TIndividual& first = *sample->Individuals.Items(0);
  first.GetTypage(0).Clear();
  first.AddGene(0, 1);
  first.AddGene(0, 1);
  first.Computed = false;
  sample->Computed = false;
  sample->Compute(true);
  EXPECT_EQ(sample->AlleleCount(0, 0), 1);
  EXPECT_EQ(sample->AlleleCount(0, 1), 3);
  EXPECT_EQ(first.AlleleCount(0, 1), 2);

  EXPECT_EQ(copy.AlleleCount(0, 0), 3);
  EXPECT_EQ(copy.AlleleCount(0, 1), 1);
  EXPECT_EQ(copy.Individuals.Items(0)->AlleleCount(0, 0), 2);
  EXPECT_EQ(copy.Individuals.Items(0)->AlleleCount(0, 1), 0);
  EXPECT_EQ(ds.RootGroup.AlleleCount(0, 0), 3);
}

TEST(DataSet, AssignToCopiesEverything) {
  TScratchFolder folder;
  WriteFile(folder.File("x.xml"), SmallXML());
  auto source = std::make_unique<TPGDSStructure>();
  source->LoadFromFile(folder.File("x.xml"), TReadFormat::Unknown);
  source->Comments = {"c1", "c2"};
  source->Messages = {"m1"};
  const std::string saved = SaveXMLText(*source);

  TPGDSStructure dest;
  MakeSmallDataSet(dest); // replaced by the copy
  source->AssignTo(dest);
  EXPECT_EQ(dest.FileName, source->FileName);
  EXPECT_EQ(dest.FileFormat, TReadFormat::XMLGenotypes);
  EXPECT_EQ(dest.Title, "Small");
  EXPECT_EQ(dest.Comments, source->Comments);
  EXPECT_EQ(dest.Messages, source->Messages);
  EXPECT_NE(dest.LocusAt(0), source->LocusAt(0));
  EXPECT_NE(dest.SampleAt(0), source->SampleAt(0));
  ASSERT_EQ(dest.AllIndividuals.Count(), 3);
  EXPECT_EQ(dest.AllIndividuals.Items(2), dest.SampleAt(1)->Individuals.Items(0));

  // The copy shares nothing with its source.
  source.reset();
  EXPECT_EQ(SaveXMLText(dest), saved);
  dest.AssignTo(dest);
  EXPECT_EQ(dest.SamplesCount(), 2);
  dest.Clear();
  EXPECT_EQ(dest.SamplesCount(), 0);
  EXPECT_EQ(dest.RootGroup.Members.Count(), 0);
}

// The numbers of the command line and of the window's lists: each stands for its own format; one
// beyond the list is detection when reading and refused when writing.
TEST(DataSet, FormatNumbers) {
  for (TReadFormat format : kReadFormats)
    EXPECT_EQ(ReadFormatFromCode(ReadFormatCode(format)), format);
  for (int code : {-1, 8, 127, 135})
    EXPECT_EQ(ReadFormatFromCode(code), TReadFormat::Unknown) << code;
  for (TWriteFormat format : kWriteFormats)
    EXPECT_EQ(WriteFormatFromCode(WriteFormatCode(format)), format);
  for (int code : {-1, 10})
    EXPECT_THROW(WriteFormatFromCode(code), EFileWritingError) << code;
}

TEST(DataSet, SaveFileNames) {
  EXPECT_EQ(SaveFileName("out", TWriteFormat::Genetix, true), "out.gtx");
  EXPECT_EQ(SaveFileName("out.", TWriteFormat::Genetix, true), "out.gtx");
  EXPECT_EQ(SaveFileName("out.txt", TWriteFormat::Genetix, true), "out.txt");
  EXPECT_EQ(SaveFileName("out", TWriteFormat::Genetix, false), "out");
  EXPECT_EQ(SaveFileName("out", TWriteFormat::GenePop3, true), "out");
  EXPECT_EQ(SaveFileName("out.", TWriteFormat::GenePop3, true), "out");
  EXPECT_EQ(SaveFileName("run.d/out", TWriteFormat::XMLGenotypes, true), "run.d/out.xml");

  TScratchFolder folder;
  TPGDSStructure ds;
  MakeSmallDataSet(ds);
  const std::string written =
      ds.SaveToFile(folder.File("out"), TWriteFormat::XMLGenotypes, true, 1);
  EXPECT_EQ(written, folder.File("out.xml"));
  EXPECT_EQ(ReadFile(written), SaveXMLText(ds));
  EXPECT_EQ(folder.Listing(), "out.xml;");
}

// A save replaces the file only once it is completely written.
TEST(DataSet, SaveFailuresKeepTheOldFile) {
  TScratchFolder folder;
  TPGDSStructure ds;
  MakeSmallDataSet(ds);
  const std::string path = folder.File("keep.xml");
  WriteFile(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  EXPECT_EQ(
      ErrorOf<EFileWritingError>([&] { ds.SaveToFile(path, WriteFormatFromCode(10), true, 1); }),
      "Format inconnu.");
  EXPECT_EQ(ErrorOf<EFileWritingError>(
                [&] { ds.SaveToFile(folder.File("new"), WriteFormatFromCode(10), true, 1); }),
            "Format inconnu.");

  const std::string noFolder = folder.File("none/out.xml");
  EXPECT_EQ(ErrorOf<EFileWritingError>(
                [&] { ds.SaveToFile(noFolder, TWriteFormat::XMLGenotypes, true, 1); }),
            Format(kFileNotWritten(), noFolder.c_str()));
  fs::create_directory(folder.File("sub.xml"));
  EXPECT_EQ(ErrorOf<EFileWritingError>([&] {
              ds.SaveToFile(folder.File("sub.xml"), TWriteFormat::XMLGenotypes, true, 1);
            }),
            Format(kFileNotWritten(), folder.File("sub.xml").c_str()));
  EXPECT_TRUE(fs::is_directory(folder.File("sub.xml")));
  EXPECT_EQ(folder.Listing(), "keep.xml;sub.xml;");

  // A genotype naming an allele its locus does not have stops the writer half-way.
  TPGDSStructure broken;
  MakeSmallDataSet(broken);
  broken.SampleAt(0)->Individuals.Items(0)->AddGene(0, 7);
  EXPECT_THROW(broken.SaveToFile(path, TWriteFormat::XMLGenotypes, true, 1), std::exception);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(folder.Listing(), "keep.xml;sub.xml;");

  // A successful save replaces the content and keeps the file's permissions.
  ds.SaveToFile(path, TWriteFormat::XMLGenotypes, true, 1);
  EXPECT_EQ(ReadFile(path), SaveXMLText(ds));
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
