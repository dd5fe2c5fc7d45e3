// Formats not available yet: their readers refuse every file and their writers refuse to write.
#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "model/Errors.h"

bool ReadFstat(TPGDSStructure&, std::istream&) {
  return false;
}
bool ReadGenetix(TPGDSStructure&, std::istream&) {
  return false;
}
bool ReadMolvaPRN(TPGDSStructure&, std::istream&) {
  return false;
}
void WriteFstat(const TPGDSStructure&, std::ostream&) {
  throw EFileWritingError(kUnknownFormat());
}
void WriteGenetix(const TPGDSStructure&, std::ostream&) {
  throw EFileWritingError(kUnknownFormat());
}
void WriteArlequin(const TPGDSStructure&, std::ostream&) {
  throw EFileWritingError(kUnknownFormat());
}
void WriteQUAV(const TPGDSStructure&, std::ostream&) {
  throw EFileWritingError(kUnknownFormat());
}
void WriteMNE(const TPGDSStructure&, std::ostream&, int, int, int) {
  throw EFileWritingError(kUnknownFormat());
}
void WriteMolvaPRN(const TPGDSStructure&, std::ostream&) {
  throw EFileWritingError(kUnknownFormat());
}
