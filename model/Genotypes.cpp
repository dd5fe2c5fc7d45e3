#include "model/Genotypes.h"

#include <algorithm>

namespace {
const std::string kNoDate;
const std::vector<std::string> kNoLog;
} // namespace

void TGenotypes::Relayout(int loci, int slots) {
  auto data = std::make_shared<std::int16_t[]>(static_cast<size_t>(loci) * (slots + 1), kNone);
  const int kept = std::min(loci, loci_);
  for (int l = 0; l < kept; ++l) {
    std::copy_n(data_.get() + static_cast<size_t>(l) * slots_, std::min(slots, slots_),
                data.get() + static_cast<size_t>(l) * slots);
    data[static_cast<size_t>(loci) * slots + l] = data_[PloidyAt(l)];
  }
  for (int l = kept; l < loci; ++l) data[static_cast<size_t>(loci) * slots + l] = 0;
  data_ = std::move(data);
  loci_ = loci;
  slots_ = slots;
}

void TGenotypes::AddLoci(int n) {
  if (n > 0) Relayout(loci_ + n, slots_);
}

void TGenotypes::Clear() {
  data_.reset();
  notes_.reset();
  loci_ = 0;
}

std::int16_t* TGenotypes::Own() {
  if (data_.use_count() > 1) {
    const size_t n = static_cast<size_t>(loci_) * (slots_ + 1);
    auto copy = std::make_shared_for_overwrite<std::int16_t[]>(n);
    std::copy_n(data_.get(), n, copy.get());
    data_ = std::move(copy);
  }
  return data_.get();
}

TGenotypes::TNotes& TGenotypes::OwnNotes() {
  if (!notes_) notes_ = std::make_shared<TNotes>();
  else if (notes_.use_count() > 1) notes_ = std::make_shared<TNotes>(*notes_);
  return *notes_;
}

void TGenotypes::Add(int locus, std::int16_t code) {
  int count = static_cast<int>(Alleles(locus).size());
  if (count == slots_) Relayout(loci_, std::max(count + 1, slots_ + slots_ / 2));
  std::int16_t* data = Own();
  data[static_cast<size_t>(locus) * slots_ + count] = code;
  ++count;
  std::int16_t& ploidy = data[PloidyAt(locus)];
  if (count > ploidy) ploidy = static_cast<std::int16_t>(count);
}

void TGenotypes::ClearLocus(int locus) {
  std::int16_t* data = Own();
  std::fill_n(data + static_cast<size_t>(locus) * slots_, slots_, kNone);
  data[PloidyAt(locus)] = 0;
  if (!notes_) return;
  if (auto n = notes_->find(locus); n != notes_->end() && !n->second.Log.empty())
    OwnNotes()[locus].Log.clear();
}

const std::string& TGenotypes::Date(int locus) const {
  if (!notes_) return kNoDate;
  auto n = notes_->find(locus);
  return n == notes_->end() ? kNoDate : n->second.Date;
}

void TGenotypes::SetDate(int locus, const std::string& date) {
  if (date.empty() && Date(locus).empty()) return;
  OwnNotes()[locus].Date = date;
}

const std::vector<std::string>& TGenotypes::Log(int locus) const {
  if (!notes_) return kNoLog;
  auto n = notes_->find(locus);
  return n == notes_->end() ? kNoLog : n->second.Log;
}

void TGenotypes::AddLog(int locus, const std::string& line) { OwnNotes()[locus].Log.push_back(line); }

void TGenotypes::ClearDates() {
  if (!notes_) return;
  for (auto& [locus, note] : OwnNotes()) note.Date.clear();
}
