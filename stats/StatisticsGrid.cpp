#include "stats/StatisticsGrid.h"

#include <charconv>
#include <cmath>

#include "dataset/PGDSStructure.h"
#include "model/Allele.h"
#include "model/Locus.h"
#include "model/Sample.h"
#include "base/Texts.h"
#include "stats/StatisticsTexts.h"

namespace {

// Rows of one locus besides its allele rows: name, genes, alleles, Ho, He, the empty row.
constexpr int kLocusRows = 6;
// The summary title and its six mean and standard-deviation rows.
constexpr int kSummaryRows = 7;

class TLabels {
public:
  explicit TLabels(int languageId) : english_(languageId == lang::English) {}
  const std::string& operator()(const TText& text) const {
    return english_ ? text.English() : text.French();
  }

private:
  bool english_;
};

// Mean and population standard deviation (divisor N) of the defined values of a series;
// both undefined when no value is defined.
struct TMeanDeviation {
  Extended Mean = Undefined();
  Extended Deviation = Undefined();
};

TMeanDeviation OverDefined(const std::vector<Extended>& values) {
  Extended sum = 0;
  int n = 0;
  for (Extended x : values) {
    if (IsUndefined(x)) continue;
    sum += x;
    ++n;
  }
  TMeanDeviation result;
  if (n == 0) return result;
  result.Mean = sum / n;
  Extended squares = 0;
  for (Extended x : values) {
    if (IsUndefined(x)) continue;
    squares += (x - result.Mean) * (x - result.Mean);
  }
  result.Deviation = std::sqrt(squares / n);
  return result;
}

// Mean of the defined values (undefined when none is).
Extended MeanOfDefined(const std::vector<Extended>& values) {
  return OverDefined(values).Mean;
}

// Number of distinct alleles actually seen at `locus`.
int ObservedAlleles(const TSample& sample, int locus) {
  int n = 0;
  for (const TAlleleFeatures& f : sample.GetSampledLocus(locus).Features)
    n += f.Count > 0;
  return n;
}

// A frequency: 3 decimals, but a null or undefined frequency without decimals.
std::string FrequencyText(Extended x) {
  return FormatStatistic(x, IsUndefined(x) || x == 0 ? 0 : 3);
}

// A summary value, left empty when the series had no defined value.
std::string SummaryText(Extended x) {
  return IsUndefined(x) ? std::string() : FormatStatistic(x, 3);
}

} // namespace

std::string FormatStatistic(Extended x, int decimals) {
  if (IsUndefined(x)) return "NaN";
  char buffer[128];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "NaN";
  return std::string(buffer, result.ptr);
}

TStatisticsGrid BuildStatisticsGrid(TPGDSStructure& ds, int languageId) {
  const TLabels label(languageId);
  const int nbSamples = ds.SamplesCount();
  const int nbLoci = ds.LociCount();

  // Per sample, the series over loci that the summary block describes.
  struct TColumn {
    TSample* Sample;
    std::vector<Extended> Alleles, Ho, He;
  };
  std::vector<TColumn> columns;
  columns.reserve(static_cast<size_t>(nbSamples));
  for (int s = 0; s < nbSamples; ++s) {
    TSample* sample = ds.SampleAt(s);
    sample->Compute(true);
    columns.push_back({sample, {}, {}, {}});
  }

  int nbRows = 1 + kSummaryRows;
  for (int l = 0; l < nbLoci; ++l)
    nbRows += kLocusRows + ds.LocusAt(l)->NbAlleles();
  const int meansColumn = 2 + nbSamples;

  TStatisticsGrid grid;
  grid.Caption = ds.FileName;
  grid.Cells.assign(static_cast<size_t>(nbRows),
                    std::vector<std::string>(static_cast<size_t>(meansColumn + 1)));
  int row = 0;
  // The cells of the current row: labels, sample columns (s = 0 .. P-1), means.
  auto cell = [&](int column) -> std::string& {
    return grid.Cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
  };
  auto sampleCell = [&](size_t s) -> std::string& { return cell(2 + static_cast<int>(s)); };
  auto sampleNames = [&] {
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = ds.SampleName(static_cast<int>(s));
  };

  cell(0) = label(kStatLocusHeader);
  cell(1) = label(kStatPopulations);
  sampleNames();
  cell(meansColumn) = label(kStatMeans);
  ++row;

  for (int l = 0; l < nbLoci; ++l) {
    const TLocus& locus = *ds.LocusAt(l);

    cell(0) = locus.Name;
    cell(1) = label(kStatPopulations);
    sampleNames();
    cell(meansColumn) = label(kStatMeans);
    ++row;

    cell(0) = label(kStatNbGenes);
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = std::to_string(columns[s].Sample->NbGenes(l));
    ++row;

    cell(0) = label(kStatNbAlleles);
    std::vector<Extended> alleles;
    for (size_t s = 0; s < columns.size(); ++s) {
      const int n = ObservedAlleles(*columns[s].Sample, l);
      sampleCell(s) = std::to_string(n);
      alleles.push_back(n);
      columns[s].Alleles.push_back(n);
    }
    cell(meansColumn) = FormatStatistic(MeanOfDefined(alleles), 3);
    ++row;

    for (int a = 0; a < locus.NbAlleles(); ++a) {
      cell(0) = label(kStatFrequencies);
      cell(1) = locus.GetAllele(a)->Name;
      // The mean divides by the number of samples: a sample without the allele counts 0.
      Extended sum = 0;
      for (size_t s = 0; s < columns.size(); ++s) {
        const Extended f = columns[s].Sample->AlleleFrequency(l, static_cast<std::int16_t>(a));
        sampleCell(s) = FrequencyText(f);
        if (!IsUndefined(f)) sum += f;
      }
      cell(meansColumn) = FormatStatistic(nbSamples > 0 ? sum / nbSamples : Undefined(), 3);
      ++row;
    }

    std::vector<Extended> ho, he;
    for (TColumn& column : columns) {
      ho.push_back(column.Sample->GetHo(l));
      he.push_back(column.Sample->GetHe(l));
      column.Ho.push_back(ho.back());
      column.He.push_back(he.back());
    }
    cell(0) = label(kStatHeterozygotes);
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = FormatStatistic(ho[s], 3);
    cell(meansColumn) = FormatStatistic(MeanOfDefined(ho), 3);
    ++row;

    cell(0) = label(kStatGeneDiversity);
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = FormatStatistic(he[s], 3);
    cell(meansColumn) = FormatStatistic(MeanOfDefined(he), 3);
    ++row;

    ++row; // the empty row between loci
  }

  cell(0) = label(kStatAllLoci);
  ++row;
  const std::vector<Extended> TColumn::*series[] = {&TColumn::Alleles, &TColumn::Ho, &TColumn::He};
  const TText* meanLabels[] = {&kStatMeanNbAlleles, &kStatMeanHeterozygotes,
                               &kStatMeanGeneDiversity};
  const TText* deviationLabels[] = {&kStatSdNbAlleles, &kStatSdHeterozygotes,
                                    &kStatSdGeneDiversity};
  for (int k = 0; k < 3; ++k) {
    std::vector<TMeanDeviation> values;
    for (const TColumn& column : columns)
      values.push_back(OverDefined(column.*series[k]));
    cell(0) = label(*meanLabels[k]);
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = SummaryText(values[s].Mean);
    ++row;
    cell(0) = label(*deviationLabels[k]);
    for (size_t s = 0; s < columns.size(); ++s)
      sampleCell(s) = SummaryText(values[s].Deviation);
    ++row;
  }
  return grid;
}
