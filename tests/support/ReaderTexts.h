// Data sets read from and written to texts, described as texts, and the messages the readers
// give: what the reader and writer tests compare.
#pragma once

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"

namespace support {

// What a reader of the form read(ds, in) makes of `text`.
template <class Read> bool ReadText(Read read, TPGDSStructure& ds, const std::string& text) {
  std::istringstream in(text);
  return read(ds, in);
}

// What a writer of the form write(ds, out, options...) writes.
template <class Write, class... Options>
std::string WrittenText(Write write, const TPGDSStructure& ds, Options... options) {
  std::ostringstream out;
  write(ds, out, options...);
  return out.str();
}

inline std::string SaveXMLText(const TPGDSStructure& ds) {
  return WrittenText(SaveXML, ds);
}

inline bool LoadXMLText(TPGDSStructure& ds, const std::string& text) {
  return ReadText(LoadXML, ds, text);
}

// A reader's error at a line and column of a file in the named format.
inline std::string ReadError(const std::string& message, int line, int column, const char* format) {
  return Format(kReadError(), message.c_str(), line, column, format);
}

// The text of a genotype count check: "Génotype manquant" or "Trop de génotypes" with the number
// of genotypes read and the number of loci.
inline std::string CountMessage(const std::string& text, int genotypes, int loci) {
  return Format(kGenotypeCountDetail(), text.c_str(), genotypes, loci);
}

// The loci's names, each as " <name>".
inline std::string LociText(const TPGDSStructure& ds) {
  std::string text;
  for (int l = 0; l < ds.LociCount(); ++l)
    text += " <" + ds.LocusAt(l)->Name + ">";
  return text;
}

// An individual's genotypes: per locus the ploidy and the names of the copies present, as
// "2.120.124,1.8,2"; with `sorted`, the copies of each genotype in name order.
inline std::string GenotypesText(const TPGDSStructure& ds, const TIndividual& ind,
                                 bool sorted = false) {
  std::string text;
  for (int l = 0; l < ind.NbTypages(); ++l) {
    std::vector<std::string> copies;
    for (int j = 0; j < ind.NbAllelesTyped(l); ++j)
      copies.push_back(ds.LocusAt(l)->GetAllele(ind.GetAllele(l, j))->Name);
    if (sorted) std::sort(copies.begin(), copies.end());
    text += (l ? "," : "") + std::to_string(ind.GetPloidy(l));
    for (const std::string& c : copies)
      text += "." + c;
  }
  return text;
}

// Each sample as " | name:" then, per individual, `label(individual)` and its genotypes.
inline std::string SamplesText(const TPGDSStructure& ds,
                               const std::function<std::string(const TIndividual&)>& label,
                               bool sorted = false) {
  std::string text;
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TSample& sample = *ds.SampleAt(s);
    text += " | " + sample.Name + ":";
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& ind = *sample.Individuals.Items(i);
      text += label(ind) + GenotypesText(ds, ind, sorted);
    }
  }
  return text;
}

} // namespace support
