#include "model/Typage.h"

#include "base/Errors.h"

namespace {
const std::string kNoDate;
const std::vector<std::string> kNoLog;
} // namespace

TTypage& TTypage::operator=(const TTypage& other) {
  if (this == &other) return *this;
  Alleles = other.Alleles;
  Ploidy = other.Ploidy;
  notes_ = other.notes_ ? std::make_unique<TNotes>(*other.notes_) : nullptr;
  return *this;
}

TTypage::TNotes& TTypage::Notes() {
  if (!notes_) notes_ = std::make_unique<TNotes>();
  return *notes_;
}

const std::string& TTypage::Date() const { return notes_ ? notes_->Date : kNoDate; }

void TTypage::SetDate(const std::string& date) {
  if (date.empty() && !notes_) return;
  Notes().Date = date;
}

const std::vector<std::string>& TTypage::Log() const { return notes_ ? notes_->Log : kNoLog; }

void TTypage::AddLog(const std::string& line) { Notes().Log.push_back(line); }

void TTypage::Add(std::int16_t code) {
  Alleles.push_back(code);
  if (Alleles.size() > Ploidy) Ploidy = static_cast<std::uint8_t>(Alleles.size());
}

std::int16_t TTypage::Items(int i) const {
  if (i < 0 || i >= Count()) ThrowListError(i);
  return Alleles[static_cast<size_t>(i)];
}

void TTypage::Clear() {
  Alleles.clear();
  if (notes_) notes_->Log.clear();
  Ploidy = 0;
}

void TTypage::AssignTo(TTypage& dest) const {
  dest.Clear();
  dest.Alleles = Alleles;
  dest.Ploidy = Ploidy;
  if (notes_ && !notes_->Log.empty()) dest.Notes().Log = notes_->Log;
}
