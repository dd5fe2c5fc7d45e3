#include "model/Genotypes.h"

#include <algorithm>

namespace {
const std::string kNoDate;
const std::vector<std::string> kNoLog;
} // namespace

void TGenotypes::AddLoci(int n) {
  if (n <= 0) return;
  TBlock& b = block_ ? Own() : *(block_ = std::make_shared<TBlock>());
  b.Loci += n;
  b.Codes.resize(static_cast<size_t>(b.Loci) * static_cast<size_t>(b.Slots), kNone);
  b.Ploidy.resize(static_cast<size_t>(b.Loci), 0);
}

TGenotypes::TBlock& TGenotypes::Own() {
  if (block_.use_count() > 1) block_ = std::make_shared<TBlock>(*block_);
  return *block_;
}

int TGenotypes::CountAt(const TBlock& b, int locus) const {
  const std::int16_t* slot = b.Codes.data() + static_cast<size_t>(locus) * b.Slots;
  int n = 0;
  while (n < b.Slots && slot[n] != kNone) ++n;
  return n;
}

std::span<const std::int16_t> TGenotypes::Alleles(int locus) const {
  const TBlock& b = *block_;
  return {b.Codes.data() + static_cast<size_t>(locus) * b.Slots,
          static_cast<size_t>(CountAt(b, locus))};
}

void TGenotypes::Widen(int copies) {
  TBlock& b = Own();
  const int slots = std::max(copies, b.Slots + b.Slots / 2);
  std::vector<std::int16_t> codes(static_cast<size_t>(b.Loci) * slots, kNone);
  for (int l = 0; l < b.Loci; ++l)
    std::copy_n(b.Codes.data() + static_cast<size_t>(l) * b.Slots, b.Slots,
                codes.data() + static_cast<size_t>(l) * slots);
  b.Codes = std::move(codes);
  b.Slots = slots;
}

void TGenotypes::Add(int locus, std::int16_t code) {
  int count = CountAt(*block_, locus);
  if (count == block_->Slots) Widen(count + 1);
  TBlock& b = Own();
  b.Codes[static_cast<size_t>(locus) * b.Slots + count] = code;
  ++count;
  std::uint8_t& ploidy = b.Ploidy[static_cast<size_t>(locus)];
  if (count > ploidy) ploidy = static_cast<std::uint8_t>(count);
}

void TGenotypes::ClearLocus(int locus) {
  TBlock& b = Own();
  std::fill_n(b.Codes.data() + static_cast<size_t>(locus) * b.Slots, b.Slots, kNone);
  b.Ploidy[static_cast<size_t>(locus)] = 0;
  if (auto n = b.Notes.find(locus); n != b.Notes.end()) n->second.Log.clear();
}

const std::string& TGenotypes::Date(int locus) const {
  if (!block_) return kNoDate;
  auto n = block_->Notes.find(locus);
  return n == block_->Notes.end() ? kNoDate : n->second.Date;
}

void TGenotypes::SetDate(int locus, const std::string& date) {
  if (date.empty() && Date(locus).empty()) return;
  Own().Notes[locus].Date = date;
}

const std::vector<std::string>& TGenotypes::Log(int locus) const {
  if (!block_) return kNoLog;
  auto n = block_->Notes.find(locus);
  return n == block_->Notes.end() ? kNoLog : n->second.Log;
}

void TGenotypes::AddLog(int locus, const std::string& line) { Own().Notes[locus].Log.push_back(line); }

void TGenotypes::ClearLogs() {
  if (!block_ || block_->Notes.empty()) return;
  for (auto& [locus, notes] : Own().Notes) notes.Log.clear();
}

void TGenotypes::ClearDates() {
  if (!block_ || block_->Notes.empty()) return;
  for (auto& [locus, notes] : Own().Notes) notes.Date.clear();
}
