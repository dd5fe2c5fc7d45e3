// A vector that keeps its first N elements inside itself and goes to the heap only beyond them.
// An individual carries one genotype and one allele tally per locus, each of one or two alleles:
// held inline they cost no allocation, where a heap block each made loading and copying a data
// set of ten thousand individuals spend most of its time in the allocator.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

template <class T, unsigned N>
class TSmallVector {
  static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");
  static_assert(N > 0);

public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;
  using size_type = std::size_t;

  TSmallVector() = default;
  TSmallVector(std::initializer_list<T> values) {
    reserve(values.size());
    for (const T& v : values)
      push_back(v);
  }
  TSmallVector(const TSmallVector& other) { *this = other; }
  TSmallVector(TSmallVector&& other) noexcept { *this = std::move(other); }
  TSmallVector& operator=(const TSmallVector& other) {
    if (this == &other) return *this;
    size_ = 0;
    reserve(other.size_);
    std::copy(other.begin(), other.end(), data());
    size_ = other.size_;
    return *this;
  }
  TSmallVector& operator=(TSmallVector&& other) noexcept {
    if (this == &other) return *this;
    if (other.heap_) {
      heap_ = std::move(other.heap_);
      capacity_ = other.capacity_;
    } else {
      heap_.reset();
      capacity_ = N;
      std::copy(other.inline_, other.inline_ + other.size_, inline_);
    }
    size_ = other.size_;
    other.size_ = 0;
    other.capacity_ = N;
    return *this;
  }

  size_type size() const { return size_; }
  bool empty() const { return size_ == 0; }
  size_type capacity() const { return capacity_; }
  T* data() { return heap_ ? heap_.get() : inline_; }
  const T* data() const { return heap_ ? heap_.get() : inline_; }
  iterator begin() { return data(); }
  iterator end() { return data() + size_; }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + size_; }
  T& operator[](size_type i) { return data()[i]; }
  const T& operator[](size_type i) const { return data()[i]; }
  T& at(size_type i) {
    if (i >= size_) throw std::out_of_range("TSmallVector::at");
    return data()[i];
  }
  const T& at(size_type i) const {
    if (i >= size_) throw std::out_of_range("TSmallVector::at");
    return data()[i];
  }
  T& front() { return data()[0]; }
  const T& front() const { return data()[0]; }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }

  void clear() { size_ = 0; }
  void reserve(size_type n) {
    if (n <= capacity_) return;
    auto grown = std::make_unique<T[]>(n);
    std::copy(begin(), end(), grown.get());
    heap_ = std::move(grown);
    capacity_ = static_cast<std::uint32_t>(n);
  }
  void push_back(const T& value) {
    const T copy = value; // `value` may live in this vector's storage
    if (size_ == capacity_) reserve(Grown());
    data()[size_++] = copy;
  }
  template <class... Args>
  T& emplace_back(Args&&... args) {
    push_back(T{std::forward<Args>(args)...});
    return back();
  }
  iterator insert(const_iterator position, const T& value) {
    const size_type index = static_cast<size_type>(position - begin());
    const T copy = value;
    if (size_ == capacity_) reserve(Grown());
    T* d = data();
    std::copy_backward(d + index, d + size_, d + size_ + 1);
    d[index] = copy;
    ++size_;
    return d + index;
  }
  iterator erase(const_iterator position) {
    const size_type index = static_cast<size_type>(position - begin());
    T* d = data();
    std::copy(d + index + 1, d + size_, d + index);
    --size_;
    return d + index;
  }

  friend bool operator==(const TSmallVector& a, const TSmallVector& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

private:
  size_type Grown() const { return capacity_ + capacity_ / 2 + 1; }

  std::unique_ptr<T[]> heap_;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = N;
  T inline_[N]{};
};
