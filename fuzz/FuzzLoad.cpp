// Fuzz target: loading any bytes as a genotype file through the data set, with the read-format
// code TARVIK_FUZZ_READ_CODE (7: detection only). Built once per code.
//
// A load either succeeds or raises EFileFormatError and leaves the data set empty. A data set
// that loaded can be written in every format (a writer may refuse the data with
// EFileWritingError), and its genotype XML file loads back with the same loci, samples and
// individuals. Anything else (another exception, a crash, a leak, a hang, an allocation without
// bound) is a fault.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>

#include "base/Errors.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"

#ifndef TARVIK_FUZZ_READ_CODE
#define TARVIK_FUZZ_READ_CODE 7
#endif

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail = std::string()) {
  std::fprintf(stderr, "fault: %s %s\n", what, detail.c_str());
  std::abort();
}

// The input goes to a file in memory, opened by its name as any file would be.
const std::string& InputFile() {
  static const std::string path = [] {
    const int fd = ::memfd_create("tarvik2-fuzz-input", 0);
    if (fd < 0) Fault("memfd_create");
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
  const int fd = std::stoi(InputFile().substr(std::string("/proc/self/fd/").size()));
  if (::ftruncate(fd, 0) != 0) Fault("ftruncate");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) Fault("pwrite");
    done += static_cast<std::size_t>(n);
  }
}

void CheckEmpty(const TPGDSStructure& ds) {
  if (ds.LociCount() != 0 || ds.SamplesCount() != 0 || ds.AllIndividuals.Count() != 0 ||
      ds.RootGroup.Members.Count() != 0 || ds.FileFormat != TReadFormat::Unknown ||
      !ds.FileName.empty() || !ds.Title.empty())
    Fault("a failed load left data behind");
}

void CheckWriters(const TPGDSStructure& ds) {
  for (TWriteFormat format : kWriteFormats) {
    for (std::uint8_t coding = 0; coding <= (format == TWriteFormat::GenePop3 ? 3 : 0); ++coding) {
      std::ostringstream out;
      try {
        ds.Write(out, format, coding);
      } catch (const EFileWritingError&) {
      } catch (const ERangeError& e) {
        // A locus without alleles has no range of repeat numbers to export.
        if (format != TWriteFormat::QUAV) Fault("range error in a writer", e.what());
      } catch (const std::exception& e) {
        Fault("unexpected exception in a writer", e.what());
      }
    }
  }
}

void CheckXMLRoundTrip(const TPGDSStructure& ds) {
  std::ostringstream out;
  try {
    ds.Write(out, TWriteFormat::XMLGenotypes, 1);
  } catch (const EFileWritingError&) {
    return; // refused to write: nothing is lost
  }
  TPGDSStructure back;
  std::istringstream in(out.str());
  if (!LoadXML(back, in))
    Fault("the genotype XML file written does not load back",
          back.Messages.empty() ? std::string() : back.Messages.back());
  if (back.LociCount() != ds.LociCount() || back.SamplesCount() != ds.SamplesCount() ||
      back.AllIndividuals.Count() != ds.AllIndividuals.Count())
    Fault("the genotype XML file written loads back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteInput(data, size);
  TPGDSStructure ds;
  // Inputs whose size is 7 modulo 8 are stopped by the user at one of the first progress
  // reports.
  if (size % 8 == 7) {
    int reports = 0;
    const int stopAt = static_cast<int>((size / 8) % 4) + 1;
    ds.onDataStructureEvent = [reports, stopAt](TLogger&, int, bool& stop) mutable {
      stop = ++reports >= stopAt;
    };
  }
  try {
    ds.LoadFromFile(InputFile(), ReadFormatFromCode(TARVIK_FUZZ_READ_CODE));
  } catch (const EFileFormatError& e) {
    if (std::string(e.what()).empty()) Fault("a failure without message");
    CheckEmpty(ds);
    return 0;
  } catch (const std::exception& e) {
    Fault("unexpected exception from LoadFromFile", e.what());
  }
  if (ds.FileFormat > TReadFormat::XMLGenotypes) Fault("a load without a format");
  CheckWriters(ds);
  CheckXMLRoundTrip(ds);
  return 0;
}
