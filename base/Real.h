// Extended reals and the undefined value.
#pragma once

#include <cmath>

// Statistics, likelihoods, distances and probabilities are 80-bit extended reals.
using Extended = long double;

// The undefined value: the quiet not-a-number of the extended format with its sign bit set
// (the processor's "indefinite" value). Test it with IsUndefined, never by comparison.
Extended Undefined();
inline bool IsUndefined(Extended x) { return std::isnan(x); }
