/* Fstat files: a header of four numbers (samples, loci, largest allele, digits per allele), one
   line per locus name, then one line per individual giving its population number and one
   number per locus that packs both gene copies. Blank lines may follow the last individual.

   The header line, the last locus line and every individual line change the scanner's
   condition: each of them ends a rule whose last token is EOL, in a state that has nothing to
   do but reduce, so the reduction (and the change) happens before the next line is scanned. */

%code requires {
#include <cstdint>
#include <string>

class TTextReader;

/* Scanner conditions asked for by the grammar, numbered as fstat.l declares them. */
enum : int { kFstatLocusNames = 1, kFstatPopNumber = 2 };

/* What the grammar actions of one Fstat read keep (FstatReader.cpp). */
class TFstatActions {
public:
  explicit TFstatActions(TTextReader& reader) : reader_(reader) {}

  /* The header: only the number of loci and the number of digits per allele (1 to 3) are
     used. */
  void Header(const std::string& nbLoci, const std::string& nbDigits);
  /* A locus line; true once every declared locus has been read. */
  bool Locus(const std::string& line);
  /* The population number that starts an individual line. */
  void Population(const std::string& digits);
  /* One genotype number of the individual line. */
  void Genotype(const std::string& digits);
  /* The end of an individual line. */
  void IndividualEnd();

private:
  /* Fails the read: the header declares more loci than there are names, `line` looking like an
     individual. */
  [[noreturn]] void TooFewLocusNames(int line);

  TTextReader& reader_;
  std::uint64_t nbLoci_ = 0;
  /* The first locus line made of two numbers or more (0: none). */
  int suspectLocusLine_ = 0;
  /* 10 to the power of the number of digits per allele. */
  std::uint64_t alleleBase_ = 1000;
  /* The population number of the previous individual line, without leading zeros. */
  bool hasPrevious_ = false;
  std::string previous_;
};

bool ParseFstat(TTextReader& reader);
/* A letter that starts a line where an individual is expected: before the first individual, the
   file has more locus names than its header declares. */
void FstatLetterAtLineStart(TTextReader& reader);
}

%code {
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"

int fstat_lex(YYSTYPE* value, void* scanner);
static void yyerror(TTextReader& reader, TFstatActions&, void*, const char* message) {
  reader.ParserError(message);
}

/* Small first stacks, grown up to the limit of the text readers. */
#define YYINITDEPTH 16
#define YYMAXDEPTH kParserStackLimit
#define yyoverflow(Message, States, StatesBytes, Values, ValuesBytes, Size) \
  do {                                                                      \
    if (!reader.GrowParserStacks(States, Values, Size)) YYNOMEM;            \
  } while (0)
}

%define api.pure full
%define api.value.type {std::string}
%parse-param {TTextReader& reader} {TFstatActions& actions} {void* scanner}
%lex-param {void* scanner}

%token NUM EOL LINE POPNUM GENO

%%

file
  : header loci lines trailer { reader.DataSet.FileFormat = TReadFormat::Fstat; }
  ;

trailer
  : trailer EOL
  | %empty
  ;

header
  : NUM NUM NUM NUM EOL {
      actions.Header($2, $4);
      reader.RequestCondition(kFstatLocusNames);
    }
  ;

locus
  : LINE EOL {
      if (actions.Locus($1)) reader.RequestCondition(kFstatPopNumber);
    }
  ;

loci
  : locus
  | loci locus
  ;

lines
  : individual EOL {
      actions.IndividualEnd();
      reader.RequestCondition(kFstatPopNumber);
    }
  | lines individual EOL {
      actions.IndividualEnd();
      reader.RequestCondition(kFstatPopNumber);
    }
  ;

individual
  : popnum geno
  | individual geno
  ;

popnum
  : POPNUM { actions.Population($1); }
  ;

geno
  : GENO { actions.Genotype($1); }
  ;

%%
