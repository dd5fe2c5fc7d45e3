#include "model/VectorBioAbstract.h"

#include <algorithm>

#include "base/Errors.h"
#include "model/ModelTexts.h"

TVectorBioAbstract::TVectorBioAbstract(TBioAbstract* owner, int capacity) : Owner(owner) {
  SetCapacity(capacity);
}

TVectorBioAbstract::~TVectorBioAbstract() {
  Clear(false);
}

void TVectorBioAbstract::SetCapacity(int n) {
  if (n <= 0) return;
  items_.reserve(static_cast<size_t>(n));
  keys_.reserve(static_cast<size_t>(n));
}

void TVectorBioAbstract::RangeError(int i) const {
  throw ERangeError(Format(kIndexOutOfLimits(), i, ClassName(), "TVectorBioAbstract"));
}

TBioAbstract* TVectorBioAbstract::Items(int i) const {
  if (i < 0 || i >= Count()) RangeError(i);
  return items_[static_cast<size_t>(i)];
}

TBioAbstract* TVectorBioAbstract::Add(TBioAbstract* item) {
  items_.push_back(item);
  keys_.push_back(item->Name);
  sortedValid_ = false;
  return item;
}

TBioAbstract* TVectorBioAbstract::Adopt(std::unique_ptr<TBioAbstract> item) {
  TBioAbstract* raw = item.get();
  owned_.push_back(std::move(item));
  return Add(raw);
}

void TVectorBioAbstract::AppendOwnedUnindexed(std::unique_ptr<TBioAbstract> item) {
  items_.push_back(item.get());
  owned_.push_back(std::move(item));
}

void TVectorBioAbstract::AddAll(const TVectorBioAbstract& other) {
  // Geometric growth: a group gathering many small members one after the other does not copy
  // its list once per member.
  const size_t needed = items_.size() + static_cast<size_t>(other.Count());
  if (needed > items_.capacity())
    SetCapacity(static_cast<int>(std::max(needed, 2 * items_.capacity())));
  for (int i = 0; i < other.Count(); ++i)
    Add(other.items_[static_cast<size_t>(i)]);
}

// The index orders positions by name (byte order). Inserting a name equal to existing ones puts
// it directly after the first of them, so within a run of equal names the element indexed first
// comes first and the others follow from the latest to the earliest. Positions are indexed in
// increasing order, so that order is: lowest position first, then the rest by descending
// position. The index is rebuilt lazily, when it is read after a change.
void TVectorBioAbstract::Sort() const {
  if (keys_.size() != items_.size()) {
    // Only a bare index copy leaves the keys out of step with the elements.
    keys_.resize(items_.size());
    for (size_t p = 0; p < items_.size(); ++p)
      keys_[p] = items_[p]->Name;
    sortedValid_ = false;
  }
  if (sortedValid_) return;
  const size_t n = items_.size();
  sorted_.resize(n);
  for (size_t p = 0; p < n; ++p)
    sorted_[p] = static_cast<std::int32_t>(p);
  std::stable_sort(sorted_.begin(), sorted_.end(), [this](std::int32_t a, std::int32_t b) {
    return keys_[static_cast<size_t>(a)] < keys_[static_cast<size_t>(b)];
  });
  for (size_t b = 0; b < n;) {
    size_t e = b + 1;
    while (e < n &&
           keys_[static_cast<size_t>(sorted_[e])] == keys_[static_cast<size_t>(sorted_[b])])
      ++e;
    if (e - b > 2)
      std::reverse(sorted_.begin() + static_cast<long>(b) + 1,
                   sorted_.begin() + static_cast<long>(e));
    b = e;
  }
  sortedValid_ = true;
}

const std::vector<std::int32_t>& TVectorBioAbstract::SortedIndex() const {
  Sort();
  return sorted_;
}

int TVectorBioAbstract::IndexOf(const std::string& name) const {
  Sort();
  auto it = std::lower_bound(
      sorted_.begin(), sorted_.end(), name,
      [this](std::int32_t p, const std::string& n) { return keys_[static_cast<size_t>(p)] < n; });
  if (it != sorted_.end() && keys_[static_cast<size_t>(*it)] == name) return *it;
  return -1;
}

TBioAbstract* TVectorBioAbstract::ByName(const std::string& name) const {
  int p = IndexOf(name);
  if (p < 0)
    throw EBioAbstractNameError(
        Format(kObjectNotFound(), name.c_str(), ClassName(), "TVectorBioAbstract"));
  return items_[static_cast<size_t>(p)];
}

int TVectorBioAbstract::IndexOfObject(const TBioAbstract* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TVectorBioAbstract::SortedPosition(int i) const {
  if (i < 0 || i >= Count()) RangeError(i);
  Sort();
  return sorted_[static_cast<size_t>(i)];
}

void TVectorBioAbstract::Clear(bool free) {
  items_.clear();
  keys_.clear();
  sorted_.clear();
  sortedValid_ = true;
  if (free)
    while (!owned_.empty())
      owned_.pop_back();
}

void TVectorBioAbstract::RebuildIndex() {
  for (size_t p = 0; p < items_.size(); ++p)
    keys_[p] = items_[p]->Name;
  sortedValid_ = false;
}

void TVectorBioAbstract::AssignTo(TPersistent& dest) const {
  if (auto* d = dynamic_cast<TVectorBioAbstract*>(&dest)) {
    Sort();
    d->keys_ = keys_;
    d->sorted_ = sorted_;
    d->sortedValid_ = true;
    d->Owner = nullptr;
    return;
  }
  TPersistent::AssignTo(dest);
}
