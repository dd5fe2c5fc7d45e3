#include "app/ProgramStart.h"

#include <clocale>
#include <locale>

void UseDotDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "C");
  std::locale::global(std::locale(std::locale(), "C", std::locale::numeric));
}
