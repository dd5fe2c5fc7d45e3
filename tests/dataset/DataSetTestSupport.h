// Helpers of the data set tests: small data sets built in memory the way the XML reader builds
// them, and scratch folders for the files the tests write.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"

namespace dstest {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, removed with its content.
class TScratchFolder {
public:
  TScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Path = fs::temp_directory_path() / ("tarvik2-" + std::string(info ? info->name() : "test") +
                                        "-" + std::to_string(::getpid()));
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TScratchFolder() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string File(const std::string& name) const { return (Path / name).string(); }
  // The names of the entries of the folder, sorted.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& n : names)
      text += n + ";";
    return text;
  }

  fs::path Path;
};

// The text of a genotype count check: "Génotype manquant" or "Trop de génotypes" with the number
// of genotypes read and the number of loci.
inline std::string CountMessage(const std::string& text, int genotypes, int loci) {
  return Format(kGenotypeCountDetail(), text.c_str(), genotypes, loci);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

inline std::string SaveXMLText(const TPGDSStructure& ds) {
  std::ostringstream out;
  SaveXML(ds, out);
  return out.str();
}

inline bool LoadXMLText(TPGDSStructure& ds, const std::string& text) {
  std::istringstream in(text);
  return LoadXML(ds, in);
}

inline TLocus* AddLocus(TPGDSStructure& ds, const std::string& name) {
  return ds.Loci.Adopt(std::make_unique<TLocus>(name, 5));
}

inline TSample* AddSample(TPGDSStructure& ds, const std::string& name) {
  return static_cast<TSample*>(
      ds.SamplesGroup.Members.Adopt(std::make_unique<TSample>(name, ds.LociCount(), 10)));
}

// An individual owned by its sample (as read from XML) with, for each locus, the allele codes
// of its copies; -1 stands for a missing copy.
inline TIndividual* AddIndividual(TPGDSStructure& ds, TSample& sample, const std::string& name,
                                  std::initializer_list<std::initializer_list<int>> genotypes) {
  auto individual = std::make_unique<TIndividual>(name, ds.LociCount(), 2);
  int locus = 0;
  for (const auto& codes : genotypes) {
    int missing = 0;
    for (int code : codes) {
      if (code < 0)
        ++missing;
      else
        individual->AddGene(locus, static_cast<std::int16_t>(code));
    }
    for (int m = 0; m < missing; ++m)
      individual->AddMissingGene(locus);
    ++locus;
  }
  TIndividual* raw = sample.Individuals.Adopt(std::move(individual));
  ds.AllIndividuals.Add(raw);
  return raw;
}

// Two loci, two samples (three individuals), a group holding the first sample.
inline void MakeSmallDataSet(TPGDSStructure& ds) {
  ds.Title = "Small";
  TLocus* a = AddLocus(ds, "A");
  a->FindOrAddAllele("120", 120, 60, "");
  a->FindOrAddAllele("124", 124, 62, "");
  TLocus* b = AddLocus(ds, "B");
  b->FindOrAddAllele("8", 8, 8, "");
  TSample* p1 = AddSample(ds, "P1");
  AddIndividual(ds, *p1, "i1", {{0, 1}, {0, 0}});
  AddIndividual(ds, *p1, "i2", {{0, 0}, {-1, -1}});
  TSample* p2 = AddSample(ds, "P2");
  AddIndividual(ds, *p2, "i3", {{1, 1}, {0, -1}});
  auto group = std::make_unique<TGroup>("G", ds.LociCount(), 5);
  group->Members.Add(p1);
  ds.RootGroup.Members.Adopt(std::move(group));
  ds.RootGroup.Members.Add(p2);
  ds.DataLoaded();
}

} // namespace dstest
