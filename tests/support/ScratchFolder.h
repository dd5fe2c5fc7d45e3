// A folder of the running test's own under the system's temporary folder.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace support {

namespace fs = std::filesystem;

// "<prefix>-<test>-<pid>", created empty; removed with its content (whatever permissions a test
// left on it) when the object goes.
class TScratchFolder {
public:
  explicit TScratchFolder(const std::string& prefix = "tarvik2") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Path = fs::temp_directory_path() / (prefix + "-" + std::string(info ? info->name() : "test") +
                                        "-" + std::to_string(::getpid()));
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TScratchFolder() {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(Path, ec))
      if (entry.is_directory(ec))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Path, ec);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  std::string File(const std::string& name) const { return (Path / name).string(); }
  // The names of the entries of the folder, sorted.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& n : names)
      text += n + ";";
    return text;
  }

  fs::path Path;
};

} // namespace support
