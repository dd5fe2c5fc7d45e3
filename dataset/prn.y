/* MOLVA PRN files: locus names of at most four characters up to the word "DATA", then one
   block per sample, from a line starting with "{" and the sample name to a line starting with
   "}". Each entry of a block gives an individual name of at most four characters and two gene
   copies per locus (three digits, or "NIL" for a missing copy). */

%code requires {
#include <string>

class TTextReader;

/* What the grammar actions of one PRN read keep (PrnReader.cpp). */
class TPrnActions {
public:
  explicit TPrnActions(TTextReader& reader) : reader_(reader) {}

  void Locus(const std::string& word);
  /* The "{" line of a sample: the sample is named by the rest of the token. */
  void StartSample(const std::string& text);
  void Individual(const std::string& name);
  /* A gene copy: an allele of three digits, or a missing copy. */
  void Allele(const std::string& digits);
  void Missing();
  /* The end of an entry: no copy may be left without its pair. */
  void IndividualEnd();

private:
  /* After each copy: the first copy of a locus waits for the second one, the second one moves
     to the next locus. */
  void CopyDone();

  TTextReader& reader_;
  bool pending_ = false;
};

bool ParseMolvaPRN(TTextReader& reader);
}

%code {
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"

int prn_lex(YYSTYPE* value, void* scanner);
static void yyerror(TTextReader& reader, TPrnActions&, void*, const char* message) {
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
%parse-param {TTextReader& reader} {TPrnActions& actions} {void* scanner}
%lex-param {void* scanner}

%token LOCUS DATA SAMPLE INDNAME ENDSAMPLE ALLELE NIL EOL

%%

file
  : loci DATA samples { reader.DataSet.FileFormat = TReadFormat::MolvaPRN; }
  ;

loci
  : LOCUS { actions.Locus($1); }
  | loci LOCUS { actions.Locus($2); }
  ;

samples
  : sample
  | samples sample
  ;

sample
  : samplehead entries ENDSAMPLE
  ;

samplehead
  : SAMPLE { actions.StartSample($1); }
  ;

entries
  : entry
  | entries entry
  ;

entry
  : indname copies EOL { actions.IndividualEnd(); }
  ;

indname
  : INDNAME { actions.Individual($1); }
  ;

copies
  : copy
  | copies copy
  ;

copy
  : ALLELE { actions.Allele($1); }
  | NIL { actions.Missing(); }
  ;

%%
