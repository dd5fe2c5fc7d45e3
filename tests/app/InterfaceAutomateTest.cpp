#include "app/InterfaceAutomate.h"

#include <gtest/gtest.h>

#include "tests/support/DataSetBuilders.h"

using support::TDataBuilder;

namespace {
TInterfaceAutomate Loaded() {
  TInterfaceAutomate a;
  a.Inputs.RefLoaded = true;
  return a;
}
} // namespace

TEST(InterfaceAutomate, StartNeedsAReferenceAndAChoice) {
  TInterfaceAutomate a;
  a.Compute();
  EXPECT_FALSE(a.StartEnabled);
  EXPECT_FALSE(a.RefStatsEnabled);
  a.Inputs.MigrantDetection = true;
  a.Compute();
  EXPECT_FALSE(a.StartEnabled) << "no reference, whatever the options";

  a = Loaded();
  a.Compute();
  EXPECT_TRUE(a.StartEnabled) << "a samples file is never required";
  EXPECT_TRUE(a.RefStatsEnabled);
  EXPECT_EQ(a.Criterion, TCriterion::RannalaMountain);
  EXPECT_FALSE(a.UseSamples);
  EXPECT_EQ(a.Threshold, 0.05L);

  a.Inputs.Criterion = std::nullopt; // no criterion radio checked
  a.Compute();
  EXPECT_FALSE(a.StartEnabled);
  a.Inputs.MigrantDetection = true; // migrant detection only needs a statistic
  a.Compute();
  EXPECT_TRUE(a.StartEnabled);
  a.Inputs.LikelihoodOption = std::nullopt;
  a.Compute();
  EXPECT_FALSE(a.StartEnabled);
}

TEST(InterfaceAutomate, ThresholdAndProbabilityFormats) {
  TInterfaceAutomate a = Loaded();
  const std::pair<const char*, const char*> thresholds[] = {
      {"0.05", "%.3f"}, {"0.01", "%.3f"}, {"0.005", "%.4f"}, {"0.001", "%.4f"}};
  for (const auto& [text, format] : thresholds) {
    a.Inputs.AssignmentThresholdText = text;
    a.Compute();
    EXPECT_EQ(a.ThresholdFormat, format) << text;
  }

  // With simulation the threshold is alpha, and the probabilities get one decimal per power of
  // ten of the simulated individuals.
  a.Inputs.SimulationChecked = true;
  a.Inputs.PvalueText = "0.01";
  a.Inputs.SimulatedIndividualsText = "100";
  a.Inputs.SimulationAlgorithm = TSimulationAlgorithm::Rannala1997;
  a.Compute();
  EXPECT_TRUE(a.SimulationOn);
  EXPECT_EQ(a.Threshold, 0.01L);
  EXPECT_EQ(a.ThresholdFormat, "%.3f");
  EXPECT_EQ(a.SimulatedCount, 100);
  EXPECT_EQ(a.ProbabilityFormat, "%.2f");
  EXPECT_EQ(a.SimulationAlgorithm, TSimulationAlgorithm::Rannala1997);

  // Values no track bar offers.
  a.SetThreshold(0.02L);
  EXPECT_EQ(a.ThresholdFormat, "%.3f");
  a.SetSimulatedCount(50);
  EXPECT_EQ(a.ProbabilityFormat, "%.2f");
}

TEST(InterfaceAutomate, WhenProbabilitiesAreAllowed) {
  TInterfaceAutomate a = Loaded();
  a.Inputs.SimulationChecked = true;
  a.Inputs.Groups = true;
  a.Inputs.Individuals = false;
  a.Compute();
  EXPECT_TRUE(a.GroupAssignment);
  EXPECT_FALSE(a.SimulationAllowed);
  EXPECT_FALSE(a.SimulationOn) << "a box left checked while disabled does not count";
  EXPECT_EQ(a.Threshold, 0.05L) << "the assignment threshold, not alpha";

  // Migrant detection ignores the groups radio.
  a.Inputs.MigrantDetection = true;
  a.Compute();
  EXPECT_FALSE(a.GroupsEnabled);
  EXPECT_FALSE(a.GroupAssignment);
  EXPECT_TRUE(a.SimulationAllowed);
  EXPECT_TRUE(a.SimulationOn);

  a.Inputs.MixedPloidy = true;
  a.Compute();
  EXPECT_FALSE(a.SimulationAllowed);

  a = Loaded();
  a.Inputs.Criterion = TCriterion::Cornuet;
  a.Compute();
  EXPECT_EQ(a.Criterion, TCriterion::Cornuet);
  EXPECT_FALSE(a.SimulationAllowed);
}

TEST(InterfaceAutomate, CriterionGoalAndStatistic) {
  TInterfaceAutomate a = Loaded();
  a.Inputs.Criterion = TCriterion::Paetkau;
  a.Inputs.DefaultFrequencyText = DefaultFrequencyText(5);
  a.Inputs.SamplesLoaded = true;
  a.Compute();
  EXPECT_EQ(a.Criterion, TCriterion::Paetkau);
  EXPECT_EQ(a.DefaultFrequency, 1e-5L);
  EXPECT_TRUE(a.UseSamples);

  a.Inputs.Criterion = TCriterion::Goldstein;
  a.Inputs.MigrantDetection = true;
  a.Inputs.LikelihoodOption = TMigrantStatistic::HomeOverMaxNotHome;
  a.Compute();
  EXPECT_EQ(a.Criterion, TCriterion::Goldstein);
  EXPECT_TRUE(a.MigrantMode);
  EXPECT_FALSE(a.UseSamples);
  EXPECT_EQ(a.LikelihoodOption, TMigrantStatistic::HomeOverMaxNotHome);
}

TEST(InterfaceAutomate, TrackBarTexts) {
  EXPECT_EQ(AssignmentThresholdText(trackbar::ThresholdDefault), "0.05");
  EXPECT_EQ(PvalueText(trackbar::PvalueDefault), "0.01");
  EXPECT_EQ(DefaultFrequencyText(trackbar::PaetkauDefault), "0.01");
  EXPECT_EQ(SimulatedIndividualsText(trackbar::SimulatedMax), "1000000");
}

TEST(InterfaceAutomate, MixedPloidyAndLocusList) {
  auto diploid = support::TwoPopulations();
  EXPECT_FALSE(HasMixedPloidy(*diploid));
  auto mixed = TDataBuilder({"L1", "L2"})
                   .Sample("A")
                   .Individual("a1", {"1/1", "1/2"})
                   .Individual("a2", {"1/2", "1"})
                   .Loaded();
  EXPECT_TRUE(HasMixedPloidy(*mixed));
  EXPECT_FALSE(HasMixedPloidy(TPGDSStructure()));

  // L2 is untyped in sample B; L3 is not in the samples file.
  auto reference = TDataBuilder({"L1", "L2", "L3"})
                       .Sample("A")
                       .Individual("a1", {"1/1", "1/2", "1/1"})
                       .Sample("B")
                       .Individual("b1", {"1/2", "", "2/2"})
                       .Loaded();
  auto samples =
      TDataBuilder({"L2", "L1"}, "s.gen").Sample("S").Individual("s1", {"1/1", "1/1"}).Loaded();
  std::vector<TLocusChoice> list = LocusListAfterLoad(*reference, samples.get());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Name, "L1");
  EXPECT_TRUE(list[0].Checked && list[0].Available);
  EXPECT_EQ(list[1].Name, "L2");
  EXPECT_FALSE(list[1].Checked || list[1].Available);
  UncheckAllLoci(list);
  EXPECT_TRUE(CheckedLoci(list).empty());
  CheckAllLoci(list);
  EXPECT_EQ(CheckedLoci(list), std::vector<std::string>{"L1"}) << "\"Tous\" skips L2";
  EXPECT_EQ(LocusListAfterLoad(*reference, nullptr).size(), 3u);
}
