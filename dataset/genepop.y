/* Diploid Genepop files: a title line, the locus names, then samples introduced by "POP"
   lines, each individual line giving a name, a comma and one genotype per locus. Every
   genotype of the file has four digits (Genepop 2, two-digit alleles) or six digits (Genepop 3,
   three-digit alleles). */

%code requires {
#include <string>
class TTextReader;
}

%code {
#include "dataset/GenepopReader.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"

int genepop_lex(YYSTYPE* value, void* scanner);
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

%token NO_TITLE TITLE EOL POP LOCUS SEMI INDNAME GENO2 GENO3

%%

file
  : header loci pops2 trailer {
      reader.CloseSample();
      reader.DataSet.FileFormat = TReadFormat::GenePop2;
    }
  | header loci pops3 trailer {
      reader.CloseSample();
      reader.DataSet.FileFormat = TReadFormat::GenePop3;
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

pop2
  : popline ind2 EOL { reader.CheckGenotypeCount(); }
  | pop2 ind2 EOL { reader.CheckGenotypeCount(); }
  ;

pop3
  : popline ind3 EOL { reader.CheckGenotypeCount(); }
  | pop3 ind3 EOL { reader.CheckGenotypeCount(); }
  ;

pops2
  : pop2
  | pops2 pop2 { reader.CloseSample(); }
  ;

pops3
  : pop3
  | pops3 pop3 { reader.CloseSample(); }
  ;

g2 : GENO2 { GenepopDiploidGenotype(reader, $1); } ;
g3 : GENO3 { GenepopDiploidGenotype(reader, $1); } ;

ind2
  : indname g2
  | ind2 g2
  ;

ind3
  : indname g3
  | ind3 g3
  ;

indname
  : INDNAME { reader.NewIndividual($1, 2); }
  ;

%%
