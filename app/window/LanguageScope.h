// Texts of the language chosen for one window: the program's language is switched for the
// lifetime of the scope and put back.
#pragma once

#include "base/Texts.h"

class TLanguageScope {
public:
  explicit TLanguageScope(int languageId) : previous_(CurrentLanguage()) {
    SetCurrentLanguage(languageId);
  }
  ~TLanguageScope() { SetCurrentLanguage(previous_); }
  TLanguageScope(const TLanguageScope&) = delete;
  TLanguageScope& operator=(const TLanguageScope&) = delete;

private:
  int previous_;
};
