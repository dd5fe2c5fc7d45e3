// Files from the field that are damaged: cut short, with changed bytes, NUL bytes, huge lines,
// or not files at all. Each either loads or is refused with a message, leaving the data set
// empty; none crashes, hangs or takes memory without bound.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "dataset/TextReader.h"
#include "tests/support/Files.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"

using namespace support;

namespace {

const std::string kCorpus = std::string(TARVIK_SOURCE_DIR) + "/tests/corpus/";

// A small valid file of each text format and the read format of its reader.
struct TSeed {
  const char* File;
  TReadFormat Format;
};
const TSeed kSeeds[] = {{"genepop2.gen", TReadFormat::GenePop2},
                        {"genepop3.gen", TReadFormat::GenePop3},
                        {"haploid.gen", TReadFormat::GenePopHaploid},
                        {"genetix.gtx", TReadFormat::Genetix},
                        {"fstat.dat", TReadFormat::Fstat},
                        {"molva.prn", TReadFormat::MolvaPRN},
                        {"small.xml", TReadFormat::XMLGenotypes}};

std::string Seed(const TSeed& seed) {
  return ReadFile(kCorpus + "fuzz_load_7/" + seed.File);
}

// Loads `path` with `format` and checks what every load must give: success, or EFileFormatError
// (EFileOpenError when the file cannot be opened) with a message, the data set left empty.
// Answers whether it loaded; `error` receives the message.
::testing::AssertionResult LoadsOrRefuses(const std::string& path, TReadFormat format, bool& loaded,
                                          std::string* error = nullptr) {
  TPGDSStructure ds;
  loaded = false;
  std::string message;
  try {
    ds.LoadFromFile(path, format);
    loaded = true;
  } catch (const EFileFormatError& e) {
    message = e.what();
  } catch (const EFileOpenError& e) {
    message = e.what();
  } catch (const std::exception& e) {
    return ::testing::AssertionFailure() << "unexpected exception: " << e.what();
  }
  if (error) *error = message;
  if (loaded) {
    if (ds.FileFormat > TReadFormat::XMLGenotypes)
      return ::testing::AssertionFailure() << "no format";
    return ::testing::AssertionSuccess();
  }
  if (message.empty()) return ::testing::AssertionFailure() << "a refusal without message";
  if (ds.LociCount() != 0 || ds.SamplesCount() != 0 || ds.AllIndividuals.Count() != 0 ||
      ds.RootGroup.Members.Count() != 0 || ds.FileFormat != TReadFormat::Unknown)
    return ::testing::AssertionFailure() << "a refused file left data behind: " << message;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult LoadsOrRefuses(const std::string& path, TReadFormat format) {
  bool loaded;
  return LoadsOrRefuses(path, format, loaded);
}

// Writes `content` and loads it with the format's own reader and with detection.
void CheckBoth(const TScratchFolder& folder, const std::string& content, TReadFormat format,
               const std::string& what) {
  const std::string path = folder.File("input.txt");
  WriteFile(path, content);
  EXPECT_TRUE(LoadsOrRefuses(path, format)) << what;
  EXPECT_TRUE(LoadsOrRefuses(path, TReadFormat::Unknown)) << what;
}

// Writes `content` and loads it with detection, which runs every reader that does not accept it.
void CheckDetected(const TScratchFolder& folder, const std::string& content,
                   const std::string& what) {
  const std::string path = folder.File("input.txt");
  WriteFile(path, content);
  EXPECT_TRUE(LoadsOrRefuses(path, TReadFormat::Unknown)) << what;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(MalformedInput, FilesCutShortAtAnyLineLoadOrAreRefused) {
  TScratchFolder folder;
  for (const TSeed& seed : kSeeds) {
    const std::string text = Seed(seed);
    ASSERT_FALSE(text.empty()) << seed.File;
    bool loaded = false;
    WriteFile(folder.File("whole.txt"), text);
    ASSERT_TRUE(LoadsOrRefuses(folder.File("whole.txt"), seed.Format, loaded)) << seed.File;
    ASSERT_TRUE(loaded) << seed.File;
    // At every line end, and in the middle of every line.
    for (size_t end = 0, start = 0; end != std::string::npos; start = end + 1) {
      end = text.find('\n', start);
      const size_t cut = end == std::string::npos ? text.size() : end;
      CheckBoth(folder, text.substr(0, (start + cut) / 2), seed.Format, seed.File);
      CheckBoth(folder, text.substr(0, cut), seed.Format, seed.File);
    }
  }
  // A file cut in the middle of its sample blocks is refused, not loaded half.
  WriteFile(folder.File("cut.gen"), "T\nA\nPop\na , 0101\nPop\n");
  bool loaded = true;
  EXPECT_TRUE(LoadsOrRefuses(folder.File("cut.gen"), TReadFormat::GenePop2, loaded));
  EXPECT_FALSE(loaded);
}

TEST(MalformedInput, ChangedBytesAndNulBytesLoadOrAreRefused) {
  TScratchFolder folder;
  std::mt19937 random(20240611);
  for (const TSeed& seed : kSeeds) {
    const std::string text = Seed(seed);
    for (int round = 0; round < 80; ++round) {
      std::string changed = text;
      for (int k = 1 + round % 3; k > 0; --k) {
        const size_t at = random() % changed.size();
        switch (random() % 4) {
        case 0:
          changed[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          changed.erase(at, 1 + random() % 8);
          break;
        case 2:
          changed.insert(at, 1, static_cast<char>(random() % 256));
          break;
        default:
          changed[at] = '\0';
        }
        if (changed.empty()) changed = "\n";
      }
      CheckDetected(folder, changed, seed.File + std::string(" round ") + std::to_string(round));
    }
    CheckBoth(folder, std::string(text.size(), '\0'), seed.Format, seed.File);
  }

  // A NUL byte inside a name is data like any other: the genotype XML file written from it
  // reads back with the same name.
  WriteFile(folder.File("nul.gen"), std::string("Ti\0tle\nA\nPop\nin\0d , 0102\n", 25));
  TPGDSStructure ds;
  ds.LoadFromFile(folder.File("nul.gen"), TReadFormat::GenePop2);
  ASSERT_EQ(ds.Title, std::string("Ti\0tle", 6));
  ds.SaveToFile(folder.File("nul.xml"), TWriteFormat::XMLGenotypes, false, 1);
  TPGDSStructure back;
  back.LoadFromFile(folder.File("nul.xml"), TReadFormat::XMLGenotypes);
  EXPECT_EQ(back.Title, ds.Title);
  EXPECT_EQ(back.AllIndividuals.Items(0)->Name, std::string("in\0d", 4));
}

TEST(MalformedInput, LinesOfMillionsOfCharactersFinishPromptly) {
  TScratchFolder folder;
  const std::string longText(2'000'000, 'x'), longDigits(2'000'000, '7'),
      longBlanks(2'000'000, ' ');
  const std::vector<std::string> files = {
      longText + "\nA\nPop\na , 0101\n",
      "T\n" + longText + "\nPop\na , 0101\n",
      "T\nA\nPop\n" + longText + " , 0101\n",
      "T\nA\nPop\na , 0101" + longBlanks + "0101\n",
      "T\nA\nPop\na , " + longDigits + "\n",
      "1 1 9 3\n" + longText + "\n1 " + longDigits + "\n",
      longDigits + " 1 9 3\nA\n1 120120\n",
      "1 " + longText + "\n1\nL\n1 120\nP\n1\ni         120120\n",
      "A " + longText + "\nDATA\n{P\ni 120 120\n}\n",
      "<?xml version=\"1.0\"?>\n<QUAV>" + longText + "</QUAV>\n",
  };
  for (size_t i = 0; i < files.size(); ++i) {
    const auto start = std::chrono::steady_clock::now();
    CheckDetected(folder, files[i], "file " + std::to_string(i));
    EXPECT_LT(SecondsSince(start), 30.0) << "file " << i;
  }

  // The long lines that are data load: a title and a sample name of two million characters.
  WriteFile(folder.File("title.gen"), longText + "\nA\nPop " + longText + "\na , 0101\n");
  TPGDSStructure ds;
  ds.LoadFromFile(folder.File("title.gen"), TReadFormat::GenePop2);
  EXPECT_EQ(ds.Title, longText);
  EXPECT_EQ(ds.SampleAt(0)->Name, longText);
}

TEST(MalformedInput, ALineBeyondTheLimitIsRefusedAtItsLine) {
  // Read straight by one reader: the limit is large, and every reader would read up to it.
  std::string text = "T\nA\nPop\n";
  text.append(static_cast<size_t>(kMostLineBytes) + 10, 'x');
  text += " , 0101\n";
  std::istringstream in(text);
  TPGDSStructure ds;
  EXPECT_FALSE(ReadGenepopDiploid(ds, in));
  ASSERT_EQ(ds.Messages.size(), 1u);
  EXPECT_EQ(ds.Messages[0], Format(kReadError(), Format(kLineTooLong(), kMostLineBytes).c_str(), 4,
                                   kMostLineBytes + 1, "GenePop"));
}

TEST(MalformedInput, WhatIsNotAReadableFileIsRefusedWithAMessage) {
  TScratchFolder folder;
  const std::string empty = folder.File("empty.gen"), blanks = folder.File("blanks.gen");
  WriteFile(empty, "");
  WriteFile(blanks, " \r\n\t\n\n");
  for (const std::string& path : {empty, blanks})
    for (TReadFormat format : kReadFormats) {
      bool loaded = true;
      std::string error;
      EXPECT_TRUE(LoadsOrRefuses(path, format, loaded, &error))
          << path << " " << ReadFormatCode(format);
      EXPECT_FALSE(loaded);
      EXPECT_EQ(error, Format(kInvalidFile(), path.c_str()));
    }

  // A folder, a device that never ends, a pipe nobody writes to (opening it would wait
  // forever), a missing file: none can be opened.
  const std::string fifo = folder.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path :
       {folder.Path.string(), std::string("/dev/zero"), fifo, folder.File("missing.gen")}) {
    TPGDSStructure ds;
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    try {
      ds.LoadFromFile(path, TReadFormat::Unknown);
    } catch (const EFileOpenError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, Format(kCannotOpenFile(), path.c_str()));
    EXPECT_EQ(ds.Messages, std::vector<std::string>{error});
    EXPECT_LT(SecondsSince(start), 5.0) << path;
  }

  // A file the user may not read; the superuser reads anything, so a file whose bytes cannot
  // be read stands for it there.
  const std::string locked = folder.File("locked.gen");
  WriteFile(locked, Seed(kSeeds[0]));
  ::chmod(locked.c_str(), 0);
  const std::string unreadable = ::access(locked.c_str(), R_OK) == 0 ? "/proc/self/mem" : locked;
  bool loaded = true;
  EXPECT_TRUE(LoadsOrRefuses(unreadable, TReadFormat::Unknown, loaded)) << unreadable;
  EXPECT_FALSE(loaded);
}

TEST(MalformedInput, RegressionsFoundByFuzzingLoadOrAreRefused) {
  // Every input that once made a fuzz target fail, with every read-format code: it loads or is
  // refused, and what loads gives a genotype XML file that loads back alike (or none at all).
  const fs::path folder = kCorpus + "regressions";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
    ++files;
    for (TReadFormat format : kReadFormats) {
      SCOPED_TRACE(entry.path().string() + " " + std::to_string(ReadFormatCode(format)));
      bool loaded = false;
      EXPECT_TRUE(LoadsOrRefuses(entry.path().string(), format, loaded));
      if (!loaded) continue;
      TPGDSStructure ds;
      ds.LoadFromFile(entry.path().string(), format);
      std::string xml;
      try {
        xml = SaveXMLText(ds);
      } catch (const EFileWritingError&) {
        continue;
      }
      TPGDSStructure back;
      ASSERT_TRUE(LoadXMLText(back, xml)) << back.Messages.back();
      EXPECT_EQ(back.LociCount(), ds.LociCount());
      EXPECT_EQ(back.SamplesCount(), ds.SamplesCount());
      EXPECT_EQ(back.AllIndividuals.Count(), ds.AllIndividuals.Count());
    }
  }
  EXPECT_GT(files, 0);
}

TEST(MalformedInput, NumbersBeyond32And64BitsNeverWrapAround) {
  // Each number either keeps its whole value or is refused with the reader's message: a count
  // of 2^32 + 1 or 2^64 + 1 is never taken for 1.
  const std::string two32 = "4294967297", two64 = "18446744073709551617";
  const struct {
    TReadFormat Format;
    std::string Text;
    std::string Message; // part of a journal line; empty when the file loads
  } cases[] = {
      {TReadFormat::Fstat, "1 " + two64 + " 9 1\nL\n1 11\n", kTooManyDeclaredLoci()},
      {TReadFormat::Fstat, "1 1 9 " + two64 + "\nL\n1 11\n", kIncorrectAlleleLength()},
      {TReadFormat::Fstat, "1 1 999 3\nL\n1 " + two32 + "\n", kIncorrectAlleleLength()},
      {TReadFormat::Fstat, "1 1 999 3\nL\n1 " + two64 + "\n", kIncorrectAlleleLength()},
      {TReadFormat::Fstat, two64 + " 1 9 1\nL\n" + two64 + " 11\n", ""},
      {TReadFormat::Genetix, two32 + "\n1\nL\n1 120\nP\n1\ni         120120\n",
       kTooManyDeclaredLoci()},
      {TReadFormat::Genetix, two64 + "\n1\nL\n1 120\nP\n1\ni         120120\n",
       kTooManyDeclaredLoci()},
      {TReadFormat::Genetix, "1\n1\nL\n" + two32 + " 120\nP\n1\ni         120120\n",
       kTooManyDeclaredAlleles()},
      {TReadFormat::Genetix, "1\n1\nL\n" + two64 + " 120\nP\n1\ni         120120\n",
       kTooManyDeclaredAlleles()},
      {TReadFormat::Genetix, "1\n1\nL\n1 120\nP\n" + two32 + "\ni         120120\n",
       kTooManyDeclaredIndividuals()},
      {TReadFormat::Genetix, "1\n1\nL\n1 120\nP\n" + two64 + "\ni         120120\n",
       kTooManyDeclaredIndividuals()},
      {TReadFormat::Genetix, "1\n" + two64 + "\nL\n1 120\nP\n1\ni         120120\n", ""},
      {TReadFormat::MolvaPRN, "L1\nDATA\n{P\ni " + two64 + " 120\n}\n", kTooManyGenotypes()},
      {TReadFormat::MolvaPRN, "L1\nDATA\n{P\ni 120 " + two32 + "\n}\n", kTooManyGenotypes()},
      {TReadFormat::GenePop2, "T\nL\nPop\na , " + two32 + "\n",
       Format(kGenotypeWidth(), two32.c_str(), 10, kFourOrSixDigits().c_str())},
      {TReadFormat::GenePopHaploid, "T\nL\nPop\na , " + two64 + "\n",
       Format(kGenotypeWidth(), two64.c_str(), 20, kOneToThreeDigits().c_str())},
  };
  TScratchFolder folder;
  const std::string path = folder.File("numbers.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    WriteFile(path, c.Text);
    bool loaded = false;
    EXPECT_TRUE(LoadsOrRefuses(path, c.Format, loaded));
    EXPECT_EQ(loaded, c.Message.empty());
    if (c.Message.empty()) continue;
    TPGDSStructure ds;
    EXPECT_THROW(ds.LoadFromFile(path, c.Format), EFileFormatError);
    ASSERT_FALSE(ds.Messages.empty());
    EXPECT_NE(ds.Messages[0].find(c.Message), std::string::npos) << ds.Messages[0];
  }
}

TEST(MalformedInput, ManySmallSamplesLoadPromptly) {
  // Tens of thousands of samples of one individual each: the time grows with the size of the
  // file, not with its square. Unnamed samples take the name of their individual, and are found
  // under it.
  constexpr int kSamples = 30000;
  std::string text = "T\nL\n";
  for (int s = 0; s < kSamples; ++s)
    text += "Pop\na" + std::to_string(s) + " , 0101\n";
  TScratchFolder folder;
  WriteFile(folder.File("many.gen"), text);
  const auto start = std::chrono::steady_clock::now();
  TPGDSStructure ds;
  ds.LoadFromFile(folder.File("many.gen"), TReadFormat::GenePop2);
  EXPECT_LT(SecondsSince(start), 20.0);
  ASSERT_EQ(ds.SamplesCount(), kSamples);
  EXPECT_EQ(ds.SamplesGroup.Members.IndexOf("a12345"), 12345);
  EXPECT_EQ(ds.SamplesGroup.Members.IndexOf(""), -1);
  EXPECT_EQ(ds.RootGroup.Members.Count(), kSamples);
  EXPECT_EQ(ds.RootGroup.NbIndividuals(), kSamples);
}
