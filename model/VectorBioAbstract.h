// Name-indexed vectors of named entities.
//
// A vector keeps its elements in insertion order (a position is meaningful: allele code, locus
// index) and a sorted index of the positions by name for logarithmic lookup. Names need not be
// unique; among equal names a lookup finds the element added first.
//
// Ownership: a vector holds references. Elements given to Adopt are owned by the vector and
// destroyed by Clear(true) or with the vector; elements given to Add belong to someone else.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/BioAbstract.h"

class TVectorBioAbstract : public TPersistent {
public:
  // The entity the vector belongs to (not owned); individuals added to a vector with an owner
  // take the owner's label in front of theirs.
  TBioAbstract* Owner = nullptr;

  explicit TVectorBioAbstract(TBioAbstract* owner = nullptr, int capacity = 0);
  ~TVectorBioAbstract() override;

  const char* ClassName() const override { return "TVectorBioAbstract"; }

  int Count() const { return static_cast<int>(items_.size()); }
  void SetCapacity(int n);
  // Element at position i; raises ERangeError outside 0 .. Count-1.
  TBioAbstract* Items(int i) const;
  // Appends a reference and indexes it by its current name; returns it.
  TBioAbstract* Add(TBioAbstract* item);
  // Appends an element that the vector owns from now on; returns it.
  TBioAbstract* Adopt(std::unique_ptr<TBioAbstract> item);
  // Appends (references to) every element of `other`, in position order.
  void AddAll(const TVectorBioAbstract& other);
  // Position of the first-added element named `name`, or -1.
  int IndexOf(const std::string& name) const;
  // Element named `name`; raises EBioAbstractNameError when there is none.
  TBioAbstract* ByName(const std::string& name) const;
  // First position holding that very object, or -1.
  int IndexOfObject(const TBioAbstract* item) const;
  // Position of the i-th element in name order; raises ERangeError outside 0 .. Count-1.
  int SortedPosition(int i) const;
  TBioAbstract* SortedItems(int i) const { return Items(SortedPosition(i)); }
  // The positions in name order.
  const std::vector<std::int32_t>& SortedIndex() const;
  // Empties the vector; with `free`, destroys the elements it owns (last to first).
  void Clear(bool free);
  // Indexes every element again by the name it has now.
  void RebuildIndex();
  // Base copy: the destination takes a copy of the index and loses its owner.
  void AssignTo(TPersistent& dest) const override;

protected:
  // Appends without touching the index (deep copies, whose index is copied).
  void AppendOwnedUnindexed(std::unique_ptr<TBioAbstract> item);
  [[noreturn]] void RangeError(int i) const;

private:
  void Sort() const;

  std::vector<TBioAbstract*> items_;
  std::vector<std::unique_ptr<TBioAbstract>> owned_;
  // The name each position was indexed under (a rename takes effect at RebuildIndex).
  mutable std::vector<std::string> keys_;
  mutable std::vector<std::int32_t> sorted_;
  mutable bool sortedValid_ = true;
};
