#include "dataset/TextWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "dataset/DataSetTexts.h"
#include "base/Errors.h"

namespace fs = std::filesystem;

void WriteText(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteLine(std::ostream& out, const std::string& text) {
  WriteText(out, text);
  out.put('\n');
}

std::string XMLEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    case '\0':
      escaped += "&#0;";
      break;
    default:
      escaped.push_back(c);
    }
  }
  return escaped;
}

namespace {

// Longest part of the target's name kept in the name of its temporary file, so that a target
// whose name is near the longest a folder accepts still gets a temporary file.
constexpr std::size_t kMostNameKept = 200;

// A file created next to the target, so that renaming it over the target cannot cross file
// systems; removed on destruction unless it was renamed.
class TTemporaryFile {
public:
  explicit TTemporaryFile(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string().substr(0, kMostNameKept);
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      fs::path candidate = folder / ("." + name + ".~" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter++));
      const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        ::close(fd);
        path_ = candidate;
      } else if (errno != EEXIST) {
        break;
      }
    }
  }
  ~TTemporaryFile() {
    if (!path_.empty()) {
      std::error_code ec;
      fs::remove(path_, ec);
    }
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  bool Created() const { return !path_.empty(); }
  const fs::path& Path() const { return path_; }
  // Forces the written bytes to the disk: a full disk may show only here.
  bool Sync() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
  }
  bool RenameTo(const fs::path& target) {
    std::error_code ec;
    fs::rename(path_, target, ec);
    if (ec) return false;
    path_.clear();
    return true;
  }

private:
  fs::path path_;
};

// Writes the whole output with `write` into `path`, opened for writing; false when a byte could
// not be written.
bool WriteStream(const fs::path& path, std::ios::openmode mode,
                 const std::function<void(std::ostream&)>& write) {
  std::ofstream out(path, std::ios::out | std::ios::binary | mode);
  if (!out.is_open()) return false;
  write(out);
  out.flush();
  if (!out) return false;
  out.close();
  return !out.fail();
}

} // namespace

void SaveFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write) {
  const std::string notWritten = Format(kFileNotWritten(), path.c_str());
  fs::path target(path);
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::file_status old = fs::status(target, ec);
  const bool exists = !ec && fs::exists(old);
  if (exists && fs::is_directory(old)) throw EFileWritingError(notWritten);
  if (exists && !fs::is_regular_file(old)) {
    if (!WriteStream(target, std::ios::trunc, write)) throw EFileWritingError(notWritten);
    return;
  }

  TTemporaryFile temporary(target);
  if (!temporary.Created()) throw EFileWritingError(notWritten);
  if (!WriteStream(temporary.Path(), std::ios::trunc, write)) throw EFileWritingError(notWritten);
  if (!temporary.Sync()) throw EFileWritingError(notWritten);
  if (exists) fs::permissions(temporary.Path(), old.permissions(), ec);
  if (!temporary.RenameTo(target)) throw EFileWritingError(notWritten);
}
