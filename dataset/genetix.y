/* Genetix files: the number of loci (and a title), the number of populations, every locus
   with the list of its alleles, then every population: its name, its number of individuals
   and one line per individual (a name of ten characters and one six-digit genotype per
   locus). Blank lines may follow the last individual.

   The header, every allele line and every individual line change the scanner's condition:
   each of them ends a rule whose last token is EOL, in a state that has nothing to do but
   reduce, so the reduction (and the change) happens before the next line is scanned. */

%code requires {
#include <cstdint>
#include <string>

class TTextReader;

/* Scanner conditions asked for by the grammar, numbered as genetix.l declares them. */
enum : int { kGenetixLocusName = 4, kGenetixPopName = 6, kGenetixIndName = 8 };

/* What the grammar actions of one Genetix read keep (GenetixReader.cpp). */
class TGenetixActions {
public:
  explicit TGenetixActions(TTextReader& reader) : reader_(reader) {}

  /* The first two lines: the number of loci and the title (empty, or the text after the
     number with the blank that precedes it). */
  void Header(const std::string& nbLoci, const std::string& title);
  /* A locus name line: the locus that the next line declares the alleles of. */
  void Locus(const std::string& name);
  /* The number of alleles that starts an allele line, and each allele of the line. */
  void AlleleCount(const std::string& digits);
  void Allele(const std::string& digits);
  /* The end of an allele line: the locus must have the number of alleles declared. True when
     it was the last locus. */
  bool AllelesEnd();
  /* A population: its name line and its number of individuals. */
  void Population(const std::string& name, const std::string& nbIndividuals);
  /* An individual line: its name, each of its genotypes, its end (true when it was the last
     individual of its population). */
  void Individual(const std::string& name);
  void Genotype(const std::string& digits);
  bool IndividualEnd();

private:
  TTextReader& reader_;
  std::uint64_t nbLoci_ = 0;
  std::uint64_t nbAlleles_ = 0;
  std::uint64_t nbIndividuals_ = 0;
  std::uint64_t individualsRead_ = 0;
};

bool ParseGenetix(TTextReader& reader);
}

%code {
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"

int genetix_lex(YYSTYPE* value, void* scanner);
static void yyerror(TTextReader& reader, TGenetixActions&, void*, const char* message) {
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
%parse-param {TTextReader& reader} {TGenetixActions& actions} {void* scanner}
%lex-param {void* scanner}

%token NLOCI TITLE NPOPS EOL LOCUSNAME NALLELES ALLELE POPNAME NINDS INDNAME GENO

%%

file
  : header loci pops trailer { reader.DataSet.FileFormat = TReadFormat::Genetix; }
  ;

trailer
  : trailer EOL
  | %empty
  ;

header
  : NLOCI EOL NPOPS EOL {
      actions.Header($1, "");
      reader.RequestCondition(kGenetixLocusName);
    }
  | NLOCI TITLE EOL NPOPS EOL {
      actions.Header($1, $2);
      reader.RequestCondition(kGenetixLocusName);
    }
  ;

loci
  : locus
  | loci locus
  ;

locus
  : locusname alleles EOL {
      reader.RequestCondition(actions.AllelesEnd() ? kGenetixPopName : kGenetixLocusName);
    }
  ;

locusname
  : LOCUSNAME EOL { actions.Locus($1); }
  ;

alleles
  : NALLELES { actions.AlleleCount($1); }
  | alleles ALLELE { actions.Allele($2); }
  ;

pops
  : pop
  | pops pop
  ;

pop
  : pophead ind EOL {
      reader.RequestCondition(actions.IndividualEnd() ? kGenetixPopName : kGenetixIndName);
    }
  | pop ind EOL {
      reader.RequestCondition(actions.IndividualEnd() ? kGenetixPopName : kGenetixIndName);
    }
  ;

pophead
  : POPNAME EOL NINDS EOL { actions.Population($1, $3); }
  ;

ind
  : indname geno
  | ind geno
  ;

indname
  : INDNAME { actions.Individual($1); }
  ;

geno
  : GENO { actions.Genotype($1); }
  ;

%%
