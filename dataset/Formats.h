// Entry points of the format readers and writers used by the data set.
//
// A reader starts from the beginning of the stream, fills the data set and sets its
// FileFormat; it answers false (after writing its journal lines) when the file is not of its
// format. A writer only reads the data set and raises EFileWritingError when the data cannot be
// expressed in its format.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

class TPGDSStructure;

enum class TGenepopVariant { ThreeDigits, TwoDigits, Haploid };

bool ReadGenepopDiploid(TPGDSStructure& ds, std::istream& in);
bool ReadGenepopHaploid(TPGDSStructure& ds, std::istream& in);
bool ReadFstat(TPGDSStructure& ds, std::istream& in);
bool ReadGenetix(TPGDSStructure& ds, std::istream& in);
bool ReadMolvaPRN(TPGDSStructure& ds, std::istream& in);
bool LoadXML(TPGDSStructure& ds, std::istream& in);

void WriteGenepop(const TPGDSStructure& ds, std::ostream& out, TGenepopVariant variant,
                  std::uint8_t alleleCoding);
void WriteFstat(const TPGDSStructure& ds, std::ostream& out);
void WriteGenetix(const TPGDSStructure& ds, std::ostream& out);
void WriteArlequin(const TPGDSStructure& ds, std::ostream& out);
void WriteQUAV(const TPGDSStructure& ds, std::ostream& out);
void WriteMNE(const TPGDSStructure& ds, std::ostream& out, int a, int b, int c);
void WriteMolvaPRN(const TPGDSStructure& ds, std::ostream& out);
void SaveXML(const TPGDSStructure& ds, std::ostream& out);
