#include <gtest/gtest.h>

#include <cstring>

#include "base/Errors.h"
#include "model/Individual.h"
#include "model/Locus.h"
#include "base/Real.h"
#include "model/Sample.h"
#include "base/Texts.h"
#include "model/TypedVectors.h"

namespace {

std::vector<std::string> SortedNames(const TVectorBioAbstract& v) {
  std::vector<std::string> names;
  for (int i = 0; i < v.Count(); ++i) names.push_back(v.SortedItems(i)->Name);
  return names;
}

TEST(Vector, SortedIndexKeepsFirstAddedFirstAmongEqualNames) {
  TBioAbstract b0("b"), a("a"), b2("b"), c("c"), b4("b"), b5("b");
  TVectorBioAbstract v;
  for (TBioAbstract* e : {&b0, &a, &b2, &c}) v.Add(e);
  EXPECT_EQ(v.Items(0), &b0);
  EXPECT_EQ(v.Items(3), &c);
  EXPECT_EQ((std::vector<int>{1, 0, 2, 3}), (std::vector<int>(v.SortedIndex().begin(),
                                                              v.SortedIndex().end())));
  EXPECT_EQ(v.IndexOf("b"), 0);
  // Each new equal name goes directly after the first one.
  v.Add(&b4);
  v.Add(&b5);
  EXPECT_EQ((std::vector<int>{1, 0, 5, 4, 2, 3}),
            (std::vector<int>(v.SortedIndex().begin(), v.SortedIndex().end())));
  EXPECT_EQ(v.ByName("b"), &b0);
  EXPECT_EQ(v.IndexOfObject(&b2), 2);
  EXPECT_EQ(v.IndexOfObject(nullptr), -1);
}

TEST(Vector, LookupIsCaseSensitiveAndByteOrdered) {
  TBioAbstract lower("pop1"), upper("Pop1"), prefix("Pop"), accented(Latin1("Éco"));
  TVectorBioAbstract v;
  for (TBioAbstract* e : {&lower, &upper, &prefix, &accented}) v.Add(e);
  EXPECT_EQ(SortedNames(v), (std::vector<std::string>{"Pop", "Pop1", "pop1", Latin1("Éco")}));
  EXPECT_EQ(v.IndexOf("pop1"), 0);
  EXPECT_EQ(v.IndexOf("Pop1"), 1);
  EXPECT_EQ(v.IndexOf("POP1"), -1);
  EXPECT_EQ(v.IndexOf(""), -1);
}

TEST(Vector, RenamedElementIsFoundOnlyAfterRebuildIndex) {
  TBioAbstract x("x"), y("y");
  TVectorBioAbstract v;
  v.Add(&x);
  v.Add(&y);
  x.Name = "z";
  EXPECT_EQ(v.IndexOf("x"), 0);
  EXPECT_EQ(v.IndexOf("z"), -1);
  v.RebuildIndex();
  EXPECT_EQ(v.IndexOf("x"), -1);
  EXPECT_EQ(v.IndexOf("z"), 0);
  EXPECT_EQ(SortedNames(v), (std::vector<std::string>{"y", "z"}));
}

TEST(Vector, RangeAndNotFoundMessagesInBothLanguages) {
  TVectorLoci loci;
  EXPECT_EQ(loci.IndexOf("A"), -1);
  try {
    loci.Items(0);
    FAIL();
  } catch (const ERangeError& e) {
    EXPECT_STREQ(e.what(), "Index 0 en dehors des limites dans TVectorLoci(TVectorBioAbstract)");
  }
  try {
    loci.ByName("A");
    FAIL();
  } catch (const EBioAbstractNameError& e) {
    EXPECT_EQ(e.what(), Latin1("L'objet A n'a pas été trouvé dans TVectorLoci(TVectorBioAbstract)"));
  }
  SetCurrentLanguage(lang::English);
  EXPECT_THROW(loci.SortedPosition(-1), ERangeError);
  try {
    TVectorIndividuals().Items(-3);
  } catch (const ERangeError& e) {
    EXPECT_STREQ(e.what(), "Index -3 out of limits in TVectorIndividuals(TVectorBioAbstract)");
  }
  try {
    loci.ByName("B");
  } catch (const EBioAbstractNameError& e) {
    EXPECT_STREQ(e.what(), "Object B not found in TVectorLoci(TVectorBioAbstract)");
  }
  SetCurrentLanguage(0);
  EXPECT_EQ(CurrentLanguage(), lang::French);
}

TEST(Vector, OwnershipFollowsAdoption) {
  TIndividual shared("shared", 1, 2);
  TVectorIndividuals owner;
  TIndividual* adopted = owner.Adopt(std::make_unique<TIndividual>("own", 1, 2));
  TVectorIndividuals reference;
  reference.Add(&shared);
  reference.Add(adopted);
  reference.Clear(true); // references only: nothing is destroyed
  EXPECT_EQ(shared.Name, "shared");
  EXPECT_EQ(adopted->Name, "own");
  EXPECT_EQ(owner.Count(), 1);
  owner.Clear(true); // ASan would report a leak or a double free otherwise
  EXPECT_EQ(owner.Count(), 0);
}

TEST(Vector, DeepCopyMakesIndependentElements) {
  TSample pop("popA", 1, 10);
  TVectorIndividuals all;
  TIndividual* a = all.Adopt(std::make_unique<TIndividual>("b-ind", 1, 2));
  TIndividual* b = all.Adopt(std::make_unique<TIndividual>("a-ind", 1, 2));
  a->AddGene(0, 3);
  a->X = 1.5;
  a->Sex = "F";
  TVectorIndividuals copy(&pop, 0);
  all.AssignTo(copy);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Owner, nullptr);
  EXPECT_NE(copy.Items(0), a);
  EXPECT_EQ(copy.Items(0)->Name, "b-ind");
  EXPECT_EQ(copy.Items(0)->X, 1.5);
  EXPECT_EQ(copy.Items(0)->Sex, ""); // not part of the copy
  EXPECT_EQ(copy.Items(0)->GetAllele(0, 0), 3);
  EXPECT_EQ(copy.IndexOf("a-ind"), 1);
  copy.Items(0)->AddGene(0, 4);
  EXPECT_EQ(a->NbAllelesTyped(0), 1);
  EXPECT_EQ(b->NbAllelesTyped(0), 0);
  // A second copy into the same vector replaces the first.
  all.AssignTo(copy);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->NbAllelesTyped(0), 1);
}

TEST(Vector, CopyOfGroupsRefusesForeignElements) {
  class TOther : public TGroupAbstract {
  public:
    TOther() : TGroupAbstract("other", 0, 0) {}
    bool IsSample() const override { return false; }
  };
  TOther other;
  TVectorGroups groups, copy;
  groups.Add(&other);
  EXPECT_THROW(groups.AssignTo(copy), EComponentError);
}

TEST(Real, UndefinedIsTheNegativeQuietNaN) {
  Extended u = Undefined();
  EXPECT_TRUE(IsUndefined(u));
  EXPECT_TRUE(std::signbit(u));
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &u, sizeof u);
  const unsigned char expected[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF};
  EXPECT_EQ(0, std::memcmp(bytes, expected, 10));
  EXPECT_FALSE(IsUndefined(0.0L));
  EXPECT_TRUE(IsUndefined(-Undefined()));
}

TEST(Texts, Latin1RoundTripAndFormat) {
  EXPECT_EQ(Latin1("Génotype"), "G\xE9notype");
  EXPECT_EQ(Utf8("G\xE9notype"), "Génotype");
  EXPECT_EQ(Latin1("€"), "?");
  std::string longText(2000, 'x');
  EXPECT_EQ(Format("%s-%d", longText.c_str(), 7), longText + "-7");
  TText t{"Fichier", "File"};
  EXPECT_EQ(t(), "Fichier");
  SetCurrentLanguage(lang::English);
  EXPECT_EQ(t(), "File");
  SetCurrentLanguage(1234);
  EXPECT_EQ(t(), "Fichier");
}

} // namespace
