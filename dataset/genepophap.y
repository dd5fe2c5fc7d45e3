/* Haploid Genepop files: a title line, the locus names, then samples introduced by "POP"
   lines, each individual line giving a name, a comma and one genotype of one to three digits
   per locus. */

%code requires {
#include <string>
class TTextReader;
}

%code {
#include "dataset/GenepopReader.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"

int genepophap_lex(YYSTYPE* value, void* scanner);
static void yyerror(TTextReader& reader, void*, const char* message) {
  GenepopSyntaxError(reader, message);
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
%parse-param {TTextReader& reader} {void* scanner}
%lex-param {void* scanner}

%token NO_TITLE TITLE EOL POP LOCUS SEMI INDNAME GENO

%%

file
  : header loci pops trailer {
      reader.CloseSample();
      reader.DataSet.FileFormat = TReadFormat::GenePopHaploid;
    }
  ;

header
  : NO_TITLE { reader.DataSet.Title.clear(); }
  | TITLE EOL { reader.DataSet.Title = $1; }
  ;

trailer
  : trailer EOL
  | %empty
  ;

locus
  : LOCUS EOL { GenepopLoci(reader, $1); }
  | LOCUS SEMI { GenepopLoci(reader, $1); }
  ;

loci
  : locus
  | loci locus
  ;

popline
  : POP EOL { GenepopSample(reader, $1); }
  ;

pop
  : popline ind EOL { reader.CheckGenotypeCount(); }
  | pop ind EOL { reader.CheckGenotypeCount(); }
  ;

pops
  : pop
  | pops pop { reader.CloseSample(); }
  ;

ind
  : indname GENO { GenepopHaploidGenotype(reader, $2); }
  | ind GENO { GenepopHaploidGenotype(reader, $2); }
  ;

indname
  : INDNAME { reader.NewIndividual($1, 1); }
  ;

%%
