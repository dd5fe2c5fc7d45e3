// Saves that cannot be made as asked: a folder that cannot be written, a full disk, a target
// that is not a file, data the genotype XML file could not give back. Each is reported with a
// message and damages nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/Files.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"

using namespace support;

namespace {

// The message of the EFileWritingError raised by saving `ds` to `path` in genotype XML, or
// "<none>".
std::string SaveError(const TPGDSStructure& ds, const std::string& path) {
  try {
    ds.SaveToFile(path, TWriteFormat::XMLGenotypes, false, 1);
  } catch (const EFileWritingError& e) {
    return e.what();
  }
  return "<none>";
}

bool IsCharacterDevice(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

} // namespace

TEST(MalformedSave, AReadOnlyFolderIsReportedAndItsFileKept) {
  TScratchFolder folder;
  TPGDSStructure ds;
  MakeSmallDataSet(ds);
  const fs::path locked = folder.Path / "locked";
  fs::create_directories(locked);
  const std::string old = (locked / "old.xml").string();
  WriteFile(old, "the user's data");
  ::chmod(locked.c_str(), 0555);
  if (::access(locked.c_str(), W_OK) == 0) {
    ::chmod(locked.c_str(), 0755);
    GTEST_SKIP() << "the superuser writes into a read-only folder";
  }
  EXPECT_EQ(SaveError(ds, old), Format(kFileNotWritten(), old.c_str()));
  SetCurrentLanguage(lang::English);
  EXPECT_EQ(SaveError(ds, old), "Unable to write file \"" + old + "\"");
  SetCurrentLanguage(lang::French);
  EXPECT_EQ(ReadFile(old), "the user's data");
  EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
  ::chmod(locked.c_str(), 0755);
}

TEST(MalformedSave, UnwritableTargetsAreReportedAndLeftAsTheyWere) {
  TScratchFolder folder;
  TPGDSStructure ds;
  MakeSmallDataSet(ds);

  // A folder no one may write to, not even the superuser.
  const std::string inProc = "/proc/tarvik2-out.xml";
  EXPECT_EQ(SaveError(ds, inProc), Format(kFileNotWritten(), inProc.c_str()));
  SetCurrentLanguage(lang::English);
  EXPECT_EQ(SaveError(ds, inProc), "Unable to write file \"" + inProc + "\"");
  SetCurrentLanguage(lang::French);

  // A full disk, and a device that takes anything: written straight, never replaced by a file.
  EXPECT_EQ(SaveError(ds, "/dev/full"), Format(kFileNotWritten(), "/dev/full"));
  EXPECT_EQ(SaveError(ds, "/dev/null"), "<none>");
  EXPECT_TRUE(IsCharacterDevice("/dev/full"));
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));

  // A folder in the way of the file.
  const std::string inTheWay = folder.File("out.xml");
  fs::create_directories(inTheWay);
  EXPECT_EQ(SaveError(ds, inTheWay), Format(kFileNotWritten(), inTheWay.c_str()));
  EXPECT_TRUE(fs::is_directory(inTheWay));

  // A name close to the longest a folder takes still gets its temporary file.
  const std::string longName = folder.File(std::string(250, 'n'));
  EXPECT_EQ(SaveError(ds, longName), "<none>");
  EXPECT_EQ(ReadFile(longName), SaveXMLText(ds));

  // A writer that refuses the data half way (a haploid genotype has no Fstat form) leaves the
  // file that was there, and no temporary file.
  const std::string kept = folder.File("kept.dat");
  WriteFile(kept, "the user's data");
  TPGDSStructure haploid;
  WriteFile(folder.File("haploid.gen"), "H\nL\nPop\na , 12\nb , 13\n");
  haploid.LoadFromFile(folder.File("haploid.gen"), TReadFormat::GenePopHaploid);
  EXPECT_THROW(haploid.SaveToFile(kept, TWriteFormat::Fstat, false, 1), EFileWritingError);
  EXPECT_EQ(ReadFile(kept), "the user's data");
  EXPECT_EQ(folder.Listing(), "haploid.gen;kept.dat;" + std::string(250, 'n') + ";out.xml;");
}

TEST(MalformedSave, GenotypeXMLFilesGiveBackTheirLociOrAreNotWritten) {
  TScratchFolder folder;
  // Fstat locus names keep their blanks; the XML file trims them, and its genotypes find their
  // locus again under the trimmed name.
  WriteFile(folder.File("blanks.dat"), "1 2 130 3\n  Loc A  \nLoc B \n1 120130 130130\n");
  TPGDSStructure ds;
  ds.LoadFromFile(folder.File("blanks.dat"), TReadFormat::Fstat);
  ds.SaveToFile(folder.File("blanks.xml"), TWriteFormat::XMLGenotypes, false, 1);
  TPGDSStructure back;
  back.LoadFromFile(folder.File("blanks.xml"), TReadFormat::XMLGenotypes);
  ASSERT_EQ(back.LociCount(), 2);
  EXPECT_EQ(back.LocusAt(0)->Name, "Loc A");
  const TIndividual& individual = *back.AllIndividuals.Items(0);
  EXPECT_EQ(back.LocusAt(0)->GetAllele(individual.GetAllele(0, 1))->Name, "130");
  EXPECT_EQ(back.LocusAt(1)->GetAllele(individual.GetAllele(1, 0))->Name, "130");

  // A locus whose name is only blanks, or two loci of the same name, could not be told apart
  // on reading: nothing is written.
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"1 2 130 3\n   \nL\n1 120130 130130\n", kUnnamedLocusNotWritten()},
      {"T\nA\nA\nPop\na , 0101 0202\n", Format(kLocusNameTwiceNotWritten(), "A")},
  };
  for (const auto& [text, message] : refused) {
    WriteFile(folder.File("in.txt"), text);
    TPGDSStructure loaded;
    loaded.LoadFromFile(folder.File("in.txt"), TReadFormat::Unknown);
    EXPECT_EQ(SaveError(loaded, folder.File("refused.xml")), message);
    EXPECT_FALSE(fs::exists(folder.File("refused.xml")));
  }
}
