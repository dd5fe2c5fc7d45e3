// The genotype file formats: those a file is read in and those a data set is written in, their
// names and extensions, and the numbers that stand for them on the command line, in the
// window's lists of formats and in the fuzz targets.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The formats of the readers; Unknown asks for the format to be found from the file. The numbers
// are those the user types and sees: they never change.
enum class TReadFormat : std::uint8_t {
  GenePop3 = 0,
  GenePop2 = 1,
  GenePopHaploid = 2,
  Genetix = 3,
  Fstat = 4,
  MolvaPRN = 5,
  XMLGenotypes = 6,
  Unknown = 7,
};

// The formats of the writers; their numbers, too, are those the user types and sees.
enum class TWriteFormat : std::uint8_t {
  GenePop3 = 0,
  GenePop2 = 1,
  GenePopHaploid = 2,
  Genetix = 3,
  Fstat = 4,
  Arlequin = 5,
  QUAV = 6,
  MNE = 7,
  MolvaPRN = 8,
  XMLGenotypes = 9,
};

// Every format in the order of its number, as the lists of formats show them.
inline constexpr std::array kReadFormats{TReadFormat::GenePop3,       TReadFormat::GenePop2,
                                         TReadFormat::GenePopHaploid, TReadFormat::Genetix,
                                         TReadFormat::Fstat,          TReadFormat::MolvaPRN,
                                         TReadFormat::XMLGenotypes,   TReadFormat::Unknown};
inline constexpr std::array kWriteFormats{TWriteFormat::GenePop3,       TWriteFormat::GenePop2,
                                          TWriteFormat::GenePopHaploid, TWriteFormat::Genetix,
                                          TWriteFormat::Fstat,          TWriteFormat::Arlequin,
                                          TWriteFormat::QUAV,           TWriteFormat::MNE,
                                          TWriteFormat::MolvaPRN,       TWriteFormat::XMLGenotypes};

// The number of a format (its position in the lists of formats, from 0).
constexpr int ReadFormatCode(TReadFormat format) {
  return static_cast<int>(format);
}
constexpr int WriteFormatCode(TWriteFormat format) {
  return static_cast<int>(format);
}

// The read format a number stands for. Only its low seven bits count (the high bit of a code
// byte is no part of the format); a number that names no reader asks for detection (Unknown).
TReadFormat ReadFormatFromCode(int code);
// The write format a number stands for; raises EFileWritingError ("Format inconnu.") for a
// number that names no writer.
TWriteFormat WriteFormatFromCode(int code);

std::string ReadFormatName(TReadFormat format);
// The extension of the formats that have one of their own, dot included; empty for the Genepop
// formats (".gen" is only their usual one) and for Unknown.
std::string ReadFormatExtension(TReadFormat format);
std::string WriteFormatName(TWriteFormat format);
std::string WriteFormatExtension(TWriteFormat format);
