// The benchmark program: runs every scenario (or those named on the command line) and prints
// one line per measurement.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/BenchSupport.h"

void BenchLoadGenepop(bool small);

int main(int argc, char** argv) {
  bool small = false;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--small") == 0) small = true;
    else only = argv[i];
  }
  ReportHeader();
  if (only.empty() || only == "load") BenchLoadGenepop(small);
  return 0;
}
