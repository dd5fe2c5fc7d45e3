// A seven-segment number display that keeps the text it shows: the parameter automaton reads
// the value of a track bar back from that text.
#pragma once

#include <QLCDNumber>
#include <string>

#include "app/window/TextConversion.h"

class TNumberDisplay : public QLCDNumber {
public:
  TNumberDisplay(int digits, QWidget* parent) : QLCDNumber(digits, parent) {
    setSegmentStyle(QLCDNumber::Flat);
  }

  void SetText(const std::string& text) {
    text_ = text;
    display(ToQt(text));
    setAccessibleDescription(ToQt(text));
  }
  const std::string& Text() const { return text_; }

private:
  std::string text_;
};
