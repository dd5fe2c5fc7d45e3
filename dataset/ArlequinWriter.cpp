// Arlequin project files of microsatellite genotypes with unknown gametic phase: every
// individual is a sample of size 1, every sample of the data set a group of the structure.

#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "base/Texts.h"

namespace {

// The text between double quotes, as it stands.
std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// Copy j of every locus of `individual`: the allele's length (at least three digits) after a
// blank, or "   ?" when the copy is missing or its length unknown.
std::string Copies(const TPGDSStructure& ds, const TIndividual& individual, int j) {
  std::string text;
  for (int l = 0; l < ds.LociCount(); ++l) {
    const int code = individual.GetAllele(l, j);
    if (individual.GetPloidy(l) > j && code >= 0) {
      const std::int32_t length = ds.LocusAt(l)->GetAllele(code)->Length;
      if (length > 0) {
        text += Format(" %.3d", length);
        continue;
      }
    }
    text += "   ?";
  }
  return text;
}

} // namespace

void WriteArlequin(const TPGDSStructure& ds, std::ostream& out) {
  WriteLine(out, "[Profile]");
  WriteLine(out, "  Title=" + Quoted(ds.Title));
  WriteLine(out, Format("  NbSamples=%d", ds.AllIndividuals.Count()));
  WriteLine(out, "  GenotypicData=1");
  WriteLine(out, "  GameticPhase=0");
  WriteLine(out, "  DataType=MICROSAT");
  WriteLine(out, "  LocusSeparator=WHITESPACE");
  WriteLine(out, "[Data]");
  WriteLine(out, "  [[Samples]]");
  for (int i = 0; i < ds.AllIndividuals.Count(); ++i) {
    const TIndividual& individual = *ds.AllIndividuals.Items(i);
    WriteLine(out, "    SampleName=" + Quoted(individual.Name));
    WriteLine(out, "    SampleSize=1");
    WriteLine(out, "    SampleData= {");
    WriteLine(out, "        Genot    1   " + Copies(ds, individual, 0));
    WriteLine(out, std::string(21, ' ') + Copies(ds, individual, 1));
    WriteLine(out, "    }");
  }
  WriteLine(out, "[[Structure]]");
  WriteLine(out, "    StructureName=" + Quoted("Populations"));
  WriteLine(out, Format("    NbGroups=%d", ds.SamplesCount()));
  WriteLine(out, "    IndividualLevel=1");
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    WriteLine(out, "    Group={");
    for (int i = 0; i < sample.Individuals.Count(); ++i)
      WriteLine(out, std::string(9, ' ') + Quoted(sample.Individuals.Items(i)->Name));
    WriteLine(out, "    }");
  }
}
