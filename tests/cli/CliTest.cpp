// tarvik2-cli as a user runs it: the built program on files written into a scratch folder.
#ifdef TARVIK_CLI_PATH

#include <string>
#include <vector>

#include "CliRunner.h"
#include "base/Texts.h"

namespace {

using namespace clitest;

// A small Genepop file shaped as they come from the field: CR LF line ends, "Pop" lines
// without a name (each sample is then named after its last individual) and individuals that
// all have the same name. Figures by hand, sample 1 then 2:
//   LocA: alleles 01 02 03 counted 3 3 0 / 1 0 4 (the last individual has one copy missing),
//         6 / 5 genes, Ho 1/3 / 1/2, He 6/5 (1 - 0.5) = 0.6 / 5/4 (1 - 0.04 - 0.64) = 0.4;
//   LocB: alleles 01 02 counted 1 3 / 4 0, 4 / 4 genes, Ho 1/2 / 0, He 4/3 x 0.375 = 0.5 / 0.
const char* const kFieldFile = "Hand check, two loci\r\n"
                               "LocA\r\n"
                               "LocB\r\n"
                               "Pop\r\n"
                               "ind , 0101 0102\r\n"
                               "ind , 0102 0000\r\n"
                               "ind , 0202 0202\r\n"
                               "Pop\r\n"
                               "ind , 0303 0101\r\n"
                               "ind , 0103 0101\r\n"
                               "ind , 0300 0000\r\n";

// The statistics of kFieldFile, in UTF-8 as printed on standard output.
const char* const kFieldStatistics = "LOCUS;Populations :;ind (1);ind (2);Moyennes\n"
                                     "LocA;Populations :;ind (1);ind (2);Moyennes\n"
                                     "Nombre de gènes;;6;5;\n"
                                     "Nombre d'Allèles;;2;2;2.000\n"
                                     "Fréquences;01;0.500;0.200;0.350\n"
                                     "Fréquences;02;0.500;0;0.250\n"
                                     "Fréquences;03;0;0.800;0.400\n"
                                     "Proportion d'hétérozygotes;;0.333;0.500;0.417\n"
                                     "\"Gene Diversity\" de Nei;;0.600;0.400;0.500\n"
                                     ";;;;\n"
                                     "LocB;Populations :;ind (1);ind (2);Moyennes\n"
                                     "Nombre de gènes;;4;4;\n"
                                     "Nombre d'Allèles;;2;1;1.500\n"
                                     "Fréquences;01;0.250;1.000;0.625\n"
                                     "Fréquences;02;0.750;0;0.375\n"
                                     "Proportion d'hétérozygotes;;0.500;0.000;0.250\n"
                                     "\"Gene Diversity\" de Nei;;0.500;0.000;0.250\n"
                                     ";;;;\n"
                                     "ENSEMBLE DES LOCUS;;;;\n"
                                     "Moyenne du nombre d'allèles;;2.000;1.500;\n"
                                     "Ecart-type du nombre d'allèles ;;0.000;0.500;\n"
                                     "Moyenne de la proportion d'hétérozygotes;;0.417;0.250;\n"
                                     "Ecart-type de la proportion d'hétérozygotes;;0.083;0.250;\n"
                                     "Moyenne de l'hétérozygotie de Nei;;0.550;0.200;\n"
                                     "Ecart-type de l'hétérozygotie de Nei;;0.050;0.200;\n";

class CliTest : public TCliTest {
protected:
  CliTest() : TCliTest("tarvik2-cli") {}
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndHelpWithZero) {
  for (const char* arguments :
       {"", "frobnicate", "stats", "info", "convert in.gen out", "convert in.gen out --to 10",
        "convert in.gen out --to 0 --coding 4", "info x.gen --format 8", "info x.gen --lang de",
        "stats x.gen --bogus"}) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.Status, 2) << arguments;
    EXPECT_FALSE(run.Err.empty()) << arguments;
    EXPECT_TRUE(run.Out.empty()) << arguments;
  }

  const TRun help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  for (const char* part : {"formats", "info", "convert", "stats", "UTF-8", "ISO-8859-1"})
    EXPECT_TRUE(Contains(help.Out, part)) << part;
  const std::vector<std::pair<std::string, std::vector<std::string>>> commands = {
      {"formats", {"--lang"}},
      {"info", {"FILE", "--format", "--lang"}},
      {"convert", {"IN", "OUT", "--to", "--format", "--coding", "--lang"}},
      {"stats", {"FILE", "--format", "--output", "--lang", "ISO-8859-1"}},
  };
  for (const auto& [command, parts] : commands) {
    const TRun run = Run(command + " --help");
    EXPECT_EQ(run.Status, 0) << command;
    for (const std::string& part : parts)
      EXPECT_TRUE(Contains(run.Out, part)) << command << part;
  }
}

TEST_F(CliTest, FormatsListsCodesNamesAndExtensionsInEitherLanguage) {
  const TRun fr = Run("formats");
  EXPECT_EQ(fr.Status, 0);
  for (const char* part : {"  0  GenePop 3\n", "  2  GenePop Haploïde\n", ".gtx", "inconnu",
                           "  5  Arlequin (microsat)", ".arp", "  9  XML génotypes", ".quav"})
    EXPECT_TRUE(Contains(fr.Out, part)) << part;

  const TRun en = Run("formats --lang en");
  EXPECT_EQ(en.Status, 0);
  for (const char* part : {"Read formats", "Write formats", "  2  Haploid GenePop\n",
                           "  6  XML genotypes", "  7  unknown"})
    EXPECT_TRUE(Contains(en.Out, part)) << part;

  // The language last chosen in the window is the default; --lang still decides.
  WriteFile(Folder() / ".tarvik.ini", "[Languages]\nCurrentLanguage=2057\n");
  EXPECT_TRUE(Contains(Run("formats").Out, "Read formats"));
  EXPECT_TRUE(Contains(Run("formats --lang fr").Out, "Formats de lecture"));
}

TEST_F(CliTest, FailedLoadsAndSavesExitWithOne) {
  const std::string missing = File("missing.gen");
  const TRun notThere = Run("info '" + missing + "'");
  EXPECT_EQ(notThere.Status, 1);
  EXPECT_TRUE(notThere.Out.empty());
  EXPECT_EQ(notThere.Err, "Le fichier " + missing + " n'a pas pu être ouvert\n");

  const std::string junk = File("junk.txt");
  WriteFile(junk, "nothing genetic here\n");
  for (const std::string& command :
       {"info '" + junk + "'", "stats '" + junk + "'", "convert '" + junk + "' out --to 9"}) {
    const TRun run = Run(command);
    EXPECT_EQ(run.Status, 1) << command;
    EXPECT_TRUE(Contains(run.Err, "Le fichier " + junk +
                                      " n'est pas valide ou son format n'est pas reconnu\n"))
        << run.Err;
  }
  const TRun english = Run("stats '" + junk + "' --lang en");
  EXPECT_TRUE(Contains(english.Err, "is invalid or its format is not supported")) << english.Err;

  const std::string field = File("field.gen");
  WriteFile(field, kFieldFile);
  const TRun noFolder = Run("convert '" + field + "' '" + File("no/such/out") + "' --to 9");
  EXPECT_EQ(noFolder.Status, 1);
  EXPECT_TRUE(Contains(noFolder.Err, "n'a pas pu être écrit")) << noFolder.Err;
  const TRun noCsv = Run("stats '" + field + "' -o '" + File("no/such/out.csv") + "'");
  EXPECT_EQ(noCsv.Status, 1);
  EXPECT_TRUE(Contains(noCsv.Err, "n'a pas pu être écrit")) << noCsv.Err;
}

TEST_F(CliTest, StatsOfAFieldGenepopFileGiveTheHandComputedFigures) {
  const std::string field = File("field.gen");
  WriteFile(field, kFieldFile);

  const TRun out = Run("stats '" + field + "'");
  EXPECT_EQ(out.Status, 0) << out.Err;
  EXPECT_EQ(out.Out, kFieldStatistics);

  // The file holds the very bytes the statistics window saves: ISO-8859-1.
  const std::string csv = File("field.csv");
  const TRun toFile = Run("stats '" + field + "' -o '" + csv + "'");
  EXPECT_EQ(toFile.Status, 0) << toFile.Err;
  EXPECT_EQ(ReadFile(csv), Latin1(kFieldStatistics));

  const TRun en = Run("stats '" + field + "' --lang en --format 1");
  EXPECT_EQ(en.Status, 0) << en.Err;
  EXPECT_EQ(en.Out.substr(0, en.Out.find('\n')), "LOCI;Populations:;ind (1);ind (2);Means");
  EXPECT_TRUE(Contains(en.Out, "\nHeterozygotes proportion;;0.333;0.500;0.417\n"));
  EXPECT_TRUE(Contains(en.Out, "\nNei's genic diversity standard deviation;;0.050;0.200;\n"));
}

TEST_F(CliTest, InfoAndConvertOfAFieldGenepopFile) {
  const std::string field = File("field.gen");
  WriteFile(field, kFieldFile);

  const TRun info = Run("info '" + field + "'");
  EXPECT_EQ(info.Status, 0) << info.Err;
  EXPECT_TRUE(Contains(info.Out, "Format lu : GenePop 2\n"
                                 "Nombre de locus : 2\n"
                                 "Nombre d'échantillons : 2\n"
                                 "Nombre d'individus : 6\n"
                                 "  LocA : 3 allèle(s)\n"
                                 "  LocB : 2 allèle(s)\n"))
      << info.Out;
  const TRun en = Run("info '" + field + "' --lang en");
  EXPECT_TRUE(Contains(en.Out, "Format read: GenePop 2\nNumber of loci: 2\n")) << en.Out;

  // A name without extension takes the format's; the genotype XML file reads back to the same
  // statistics.
  const TRun xml = Run("convert '" + field + "' '" + File("field") + "' --to 9");
  EXPECT_EQ(xml.Status, 0) << xml.Err;
  EXPECT_EQ(xml.Out, File("field.xml") + "\n");
  const TRun xmlInfo = Run("info '" + File("field.xml") + "'");
  EXPECT_TRUE(Contains(xmlInfo.Out, "Format lu : XML génotypes\n")) << xmlInfo.Out;
  EXPECT_EQ(Run("stats '" + File("field.xml") + "'").Out, kFieldStatistics);

  // Genepop 3 with the allele lengths: the two-digit names 01, 02, 03 become 001, 002, 003.
  const TRun gp3 = Run("convert '" + field + "' '" + File("field3.txt") + "' --to 0");
  EXPECT_EQ(gp3.Status, 0) << gp3.Err;
  EXPECT_EQ(gp3.Out, File("field3.txt") + "\n");
  EXPECT_TRUE(Contains(ReadFile(File("field3.txt")), "\nind_ind,003003 001001\n"));
  EXPECT_TRUE(Contains(Run("info '" + File("field3.txt") + "'").Out, "GenePop 3"));
}

} // namespace

#endif
