#include <gtest/gtest.h>

#include "base/Errors.h"
#include "model/Locus.h"

namespace {

TEST(Locus, FindOrAddAlleleKeepsCodesAndFirstAttributes) {
  TLocus locus("L1");
  EXPECT_EQ(locus.FindOrAddAllele("152", 152, 152, ""), 0);
  EXPECT_EQ(locus.FindOrAddAllele("120", 120, 120, "AC"), 1);
  EXPECT_EQ(locus.FindOrAddAllele("152", 999, 3, "GT"), 0);
  EXPECT_EQ(locus.GetAllele(0)->Length, 152);
  EXPECT_EQ(locus.GetAllele(0)->Sequence, "");
  EXPECT_EQ(locus.IndexOfAllele("999"), -1);
  EXPECT_EQ(locus.NbAlleles(), 2);
  // Name order, not code order.
  EXPECT_EQ(locus.GetSortedAllele(0)->Name, "120");
  EXPECT_EQ(locus.SortedAlleleIndex(0), 1);
  EXPECT_THROW(locus.GetAllele(2), ERangeError);
  EXPECT_THROW(locus.GetAllele(-1), ERangeError);
}

TEST(Locus, CopyPreservesEveryAlleleCode) {
  TLocus source("Loc");
  source.Pattern = "CA";
  source.Linked = true;
  source.LinkedPosition = 12.5;
  source.LocusType = TLocusType::Cytoplasmic;
  for (const char* n : {"130", "98", "120"}) source.FindOrAddAllele(n, std::atoi(n), 1, "");
  TLocus copy("other");
  copy.FindOrAddAllele("1", 1, 1, "");
  source.AssignTo(copy);
  ASSERT_EQ(copy.NbAlleles(), 3);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(copy.GetAllele(c)->Name, source.GetAllele(c)->Name);
    EXPECT_NE(copy.GetAllele(c), source.GetAllele(c));
  }
  EXPECT_EQ(copy.Name, "Loc");
  EXPECT_EQ(copy.Pattern, "CA");
  EXPECT_TRUE(copy.Linked);
  EXPECT_EQ(copy.LinkedPosition, 12.5);
  EXPECT_EQ(copy.LocusType, TLocusType::Cytoplasmic);
  EXPECT_EQ(copy.IndexOfAllele("98"), 1);
}

TEST(Locus, TypeTable) {
  EXPECT_EQ(TypeFromCode("MS"), TLocusType::Microsatellite);
  EXPECT_EQ(TypeFromCode("MSL"), TLocusType::LinkedMicrosatellite);
  EXPECT_EQ(TypeFromCode("CYTO"), TLocusType::Cytoplasmic);
  EXPECT_EQ(TypeFromCode("ms"), TLocusType::Unknown);
  EXPECT_EQ(TypeFromCode(""), TLocusType::Unknown);
  EXPECT_STREQ(TypeName(1), "Linked Microsatellite");
  EXPECT_STREQ(TypeName(7), "Unknown");
  EXPECT_STREQ(TypeName(-1), "Unknown");
}

} // namespace
