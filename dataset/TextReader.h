// The machinery shared by the text readers (Genepop, Fstat, Genetix, MOLVA PRN).
//
// Each format is one flex scanner (dataset/<format>.l) feeding one bison parser
// (dataset/<format>.y). The scanner reads its characters from the reader's line source, which
// turns every line end of the file (CR, LF, CR LF or LF CR) into a single LF; the grammar
// actions build the loci, samples, individuals and genotypes through the reader's building
// operations. Problems are reported by Error, which writes the journal line of the data set and
// raises EFileFormatWarning; ReadText turns every failure into a false answer.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataset/TextEncoding.h"

class TPGDSStructure;
class TSample;
class TIndividual;
class TLocus;

// The characters of a file, line by line, each line followed by one LF whatever the line end
// of the file was (the last line gets one even when the file does not end with a line end).
// The stream is read through a small buffer; the file is never held whole.
class TLineSource {
public:
  // Moves the stream to its beginning (past a byte order mark when asked to) and notes its size.
  explicit TLineSource(std::istream& in, TTextInput input = {});

  // Copies at most `max` characters of the current line into `dest` and answers how many; a
  // new line is started only when the previous one has been delivered up to its LF. 0 at the
  // end of the stream.
  std::size_t Read(char* dest, std::size_t max);

  // Bytes of the stream taken so far, and the size of the stream (-1 when unknown).
  std::int64_t Position() const { return position_; }
  std::int64_t Size() const { return size_; }
  // Lines started so far (the line being delivered), and whether that line has outgrown
  // kMostLineBytes characters; its characters are then no longer delivered.
  int Lines() const { return lines_; }
  // Every character of the stream has been delivered.
  bool Finished() const { return exhausted_ && next_ == end_ && !inLine_; }
  bool LineTooLong() const { return lineTooLong_; }

private:
  bool Peek(char& c);
  void Refill();

  std::istream& in_;
  TTextInput input_;
  // A block of the file, and room for the second byte of a character the block's end splits.
  static constexpr std::size_t kBlock = 4096;
  std::array<char, kBlock + 1> buffer_{};
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  // Characters of the current line have been delivered and its LF not yet.
  bool inLine_ = false;
  int lines_ = 0;
  std::int64_t lineLength_ = 0;
  bool lineTooLong_ = false;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;
};

// Deepest parser stack a text reader accepts; a deeper one fails with "yyparse stack overflow".
constexpr long kParserStackLimit = 1024;

// Longest line a text reader accepts (64 MiB, room for millions of genotypes): the scanner holds
// a line whole when it matches it as one token, so a longer line fails the read ("Ligne de plus
// de %d caractères") instead of taking memory without bound.
constexpr int kMostLineBytes = 64 << 20;

// The context of one read: what the scanner and the grammar actions of a format work with.
class TTextReader {
public:
  TPGDSStructure& DataSet;
  TLineSource Source;
  // Name of the reader in the journal lines ("GenePop", "FStat", ...).
  const std::string ReaderName;

  // Line of the last character scanned (first line 1) and column just after it (1 at the start
  // of a line, plus one per character).
  int Line = 0;
  int Column = 0;
  // The last line that held nothing but blanks (0: none yet), to tell a blank line inside a file
  // from other syntax errors.
  int LastBlankLine = 0;
  // Number of digits of every genotype of the file, for formats of fixed width (0: none read yet).
  int GenotypeWidth = 0;

  // The objects the actions are filling; LocusPosition counts the genotypes read on the
  // current individual line.
  TSample* CurrentSample = nullptr;
  TIndividual* CurrentIndividual = nullptr;
  int LocusPosition = 0;

  TTextReader(TPGDSStructure& dataSet, std::istream& in, std::string readerName);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // ---- for the scanner

  // The scanner's input (flex YY_INPUT); fails the read on a line that is too long.
  std::size_t Input(char* dest, std::size_t max);
  // Every matched text, skipped or not (flex YY_USER_ACTION): keeps Line and Column.
  void Consumed(const char* text, std::size_t length);
  // Run by every rule that consumes a line end: reports the progress to the data set and fails
  // the read when the user asks to stop.
  void LineEnd();

  // Start condition asked for by a grammar action, applied by the scanner when it is called
  // for the next token (-1: none). Actions run before the next token is scanned, so the next
  // line is scanned in the new condition.
  void RequestCondition(int condition) { requestedCondition_ = condition; }
  int TakeCondition() {
    const int c = requestedCondition_;
    requestedCondition_ = -1;
    return c;
  }

  // ---- for the parser

  // Fails the read with the journal line for `message`, at the current line and column.
  [[noreturn]] void Error(const std::string& message);
  // The parser's own failures (bison's yyerror): "syntax error", "yyparse stack overflow".
  [[noreturn]] void ParserError(const char* message);

  // Grows the parser's stacks (bison's yyoverflow) up to kParserStackLimit entries; false
  // beyond. Semantic values are strings and are moved into the new stack, never copied as bytes.
  template <class State, class Size>
  bool GrowParserStacks(State** states, std::string** values, Size* size);

  // ---- building operations

  TLocus* NewLocus(const std::string& name);
  // A new sample with LociCount loci, appended to the samples; it becomes current. An unnamed
  // sample joins the samples once it is closed (or when the next sample starts, or the read
  // ends), under the name it has then: the name index of the samples is never rebuilt, which
  // would make a file of many unnamed samples take a time growing with their square.
  TSample* NewSample(const std::string& name, int individualsCapacity = 10);
  // A new individual with LociCount loci, appended to AllIndividuals and to the current
  // sample; it becomes current and the locus position goes back to 0.
  TIndividual* NewIndividual(const std::string& name, std::uint8_t declaredPloidy);
  // Whether the locus position names a locus of the data set (extra genotypes are only counted).
  bool AtKnownLocus() const;
  // Adds the allele `name` (length and repeat count `value`) to the current individual at the
  // locus position; the locus gets the allele when it does not have it yet.
  void AddAlleleCopy(std::string_view name, std::int32_t value);
  // Adds a missing gene copy to the current individual at the locus position.
  void AddMissingCopy();
  // A sample must have at least one individual ("Individu manquant"); an unnamed sample takes
  // the name of its last individual, and its individuals' labels then take the sample's name.
  void CloseSample();
  // End of an individual line: "Génotype manquant" or "Trop de génotypes", with both numbers,
  // when the number of genotypes read is not the number of loci.
  void CheckGenotypeCount(const std::string& missingGenotypeText);
  void CheckGenotypeCount();
  // Run once the parser has accepted the file: the last unnamed sample joins the samples.
  void Finish();

private:
  bool lineEnded_ = true;
  bool lineHasContent_ = false;
  std::unique_ptr<TSample> unnamedSample_;
  // The allele codes already met at each locus, by name: a file names the same few alleles
  // again and again, and a short name packed into one integer is found without the locus's
  // bisection over its allele names. Codes never change during a read (alleles are only added).
  struct TAlleleCache {
    std::vector<std::uint64_t> Keys;
    std::vector<std::int16_t> Codes;
  };
  std::vector<TAlleleCache> alleleCache_;
  void AdoptUnnamedSample();
  int requestedCondition_ = -1;
  // The parser's stacks once they have outgrown the parser's own first ones.
  std::shared_ptr<void> stateStack_;
  std::unique_ptr<std::string[]> valueStack_;
};

template <class State, class Size>
bool TTextReader::GrowParserStacks(State** states, std::string** values, Size* size) {
  if (*size >= kParserStackLimit) return false;
  const auto used = static_cast<std::size_t>(*size);
  const auto grown = static_cast<std::size_t>(std::min<long>(kParserStackLimit, 2 * *size));
  auto newStates = std::make_shared<State[]>(grown);
  auto newValues = std::make_unique<std::string[]>(grown);
  std::copy(*states, *states + used, newStates.get());
  std::move(*values, *values + used, newValues.get());
  *states = newStates.get();
  *values = newValues.get();
  stateStack_ = std::move(newStates);
  valueStack_ = std::move(newValues);
  *size = static_cast<Size>(grown);
  return true;
}

// The grammar entry of one format: runs its parser on the reader, true when the input is
// accepted.
using TTextParser = bool (*)(TTextReader& reader);

// Reads a text file of one format into the data set: true when the parser accepts. A reported
// problem (already in the journal) gives false; any other failure first adds its journal line
// with line and column -1.
bool ReadText(TPGDSStructure& dataSet, std::istream& in, const std::string& readerName,
              TTextParser parser);
