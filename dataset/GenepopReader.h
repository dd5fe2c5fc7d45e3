// Grammar actions shared by the diploid and haploid Genepop readers, and the entry points of
// their parsers (dataset/genepop.l + .y, dataset/genepophap.l + .y).
#pragma once

#include <string>

class TTextReader;

// A locus line (or the part of it before a ";"): one locus per name, the names separated by
// commas, blanks around them removed.
void GenepopLoci(TTextReader& reader, const std::string& text);
// A "POP" line: closes the current sample and starts the next one, named by the rest of the
// line after its first three characters.
void GenepopSample(TTextReader& reader, const std::string& popLine);
// A diploid genotype: two alleles of two digits ("0102") or of three digits ("001002"); "00"
// or "000" is a missing copy.
void GenepopDiploidGenotype(TTextReader& reader, const std::string& digits);
// A haploid genotype of one to three digits; value 0 is a missing copy.
void GenepopHaploidGenotype(TTextReader& reader, const std::string& digits);

// The width of a run of digits read as a diploid genotype: four or six digits, the same for every
// genotype of the file; any other fails the read.
void GenepopDiploidWidth(TTextReader& reader, const char* digits, int length);
// A run of more than three digits where a haploid genotype is expected fails the read.
[[noreturn]] void GenepopHaploidTooWide(TTextReader& reader, const char* digits, int length);
// A syntax error, with its cause when the reader can tell it: no "Pop" line, a "Pop" line with
// no individual after it, a blank line before the last individual.
[[noreturn]] void GenepopSyntaxError(TTextReader& reader, const char* message);

bool ParseGenepopDiploid(TTextReader& reader);
bool ParseGenepopHaploid(TTextReader& reader);
