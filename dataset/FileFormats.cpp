#include "dataset/FileFormats.h"

#include <cstddef>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"

namespace {

// The lists of formats are indexed by the formats' numbers.
template <typename Formats> constexpr bool InNumberOrder(const Formats& formats) {
  for (std::size_t i = 0; i < formats.size(); ++i)
    if (static_cast<std::size_t>(formats[i]) != i) return false;
  return true;
}
static_assert(InNumberOrder(kReadFormats) && InNumberOrder(kWriteFormats));

} // namespace

TReadFormat ReadFormatFromCode(int code) {
  const int format = code & 127;
  if (format > ReadFormatCode(TReadFormat::XMLGenotypes)) return TReadFormat::Unknown;
  return static_cast<TReadFormat>(format);
}

TWriteFormat WriteFormatFromCode(int code) {
  if (code < 0 || code > WriteFormatCode(kWriteFormats.back()))
    throw EFileWritingError(kUnknownFormat());
  return static_cast<TWriteFormat>(code);
}

// Each switch lists every format, without a default, so that a format added to the type and
// forgotten here is a compiler error; the line after it answers a value no format has.

std::string ReadFormatName(TReadFormat format) {
  switch (format) {
  case TReadFormat::GenePop3:
    return kFormatGenePop3();
  case TReadFormat::GenePop2:
    return kFormatGenePop2();
  case TReadFormat::GenePopHaploid:
    return kFormatGenePopHaploid();
  case TReadFormat::Genetix:
    return kFormatGenetix();
  case TReadFormat::Fstat:
    return kFormatFstat();
  case TReadFormat::MolvaPRN:
    return kFormatMolvaPRN();
  case TReadFormat::XMLGenotypes:
    return kFormatXMLGenotypes();
  case TReadFormat::Unknown:
    break;
  }
  return kFormatUnknown();
}

std::string ReadFormatExtension(TReadFormat format) {
  switch (format) {
  case TReadFormat::Genetix:
    return ".gtx";
  case TReadFormat::Fstat:
    return ".dat";
  case TReadFormat::MolvaPRN:
    return ".prn";
  case TReadFormat::XMLGenotypes:
    return ".xml";
  case TReadFormat::GenePop3:
  case TReadFormat::GenePop2:
  case TReadFormat::GenePopHaploid:
  case TReadFormat::Unknown:
    break;
  }
  return std::string();
}

std::string WriteFormatName(TWriteFormat format) {
  switch (format) {
  case TWriteFormat::GenePop3:
    return kFormatGenePop3();
  case TWriteFormat::GenePop2:
    return kFormatGenePop2();
  case TWriteFormat::GenePopHaploid:
    return kFormatGenePopHaploid();
  case TWriteFormat::Genetix:
    return kFormatGenetix();
  case TWriteFormat::Fstat:
    return kFormatFstat();
  case TWriteFormat::Arlequin:
    return kFormatArlequin();
  case TWriteFormat::QUAV:
    return kFormatQUAV();
  case TWriteFormat::MNE:
    return kFormatMNE();
  case TWriteFormat::MolvaPRN:
    return kFormatMolvaPRN();
  case TWriteFormat::XMLGenotypes:
    return kFormatXMLGenotypes();
  }
  return kFormatUnknown();
}

std::string WriteFormatExtension(TWriteFormat format) {
  switch (format) {
  case TWriteFormat::Genetix:
    return ".gtx";
  case TWriteFormat::Fstat:
    return ".dat";
  case TWriteFormat::Arlequin:
    return ".arp";
  case TWriteFormat::QUAV:
    return ".quav";
  case TWriteFormat::MNE:
    return ".mne";
  case TWriteFormat::MolvaPRN:
    return ".prn";
  case TWriteFormat::XMLGenotypes:
    return ".xml";
  case TWriteFormat::GenePop3:
  case TWriteFormat::GenePop2:
  case TWriteFormat::GenePopHaploid:
    break;
  }
  return std::string();
}
