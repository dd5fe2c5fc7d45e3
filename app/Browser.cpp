#include "app/Browser.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

std::string BrowserProgram() {
  const char* browser = std::getenv("BROWSER");
  return browser && *browser ? std::string(browser) : std::string("xdg-open");
}

bool OpenInBrowser(const std::string& target) {
  std::string program = BrowserProgram();
  std::string argument = target;
  std::vector<char*> argv{program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  // The browser may live as long as it likes; its exit status is collected in the background so
  // that it leaves no zombie behind.
  try {
    std::thread([pid] {
      int status = 0;
      ::waitpid(pid, &status, 0);
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the process is collected when the program ends.
  }
  return true;
}

std::string HelpIndexPath(int language) {
  const bool english = language == 2057;
  const std::string installed = english ? "/usr/local/tarvik2/doc/Help/index.htm"
                                        : "/usr/local/tarvik2/doc/Aide/index.htm";
  std::error_code ec;
  if (fs::exists(installed, ec)) return installed;
  // Installed under another prefix: beside the program's own bin folder.
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path beside = program.parent_path().parent_path() / "tarvik2" / "doc" /
                            (english ? "Help" : "Aide") / "index.htm";
    if (fs::exists(beside, ec)) return beside.string();
  }
#ifdef TARVIK_SOURCE_DIR
  return std::string(TARVIK_SOURCE_DIR) + (english ? "/doc/help/en/index.htm"
                                                   : "/doc/help/fr/index.htm");
#else
  return installed;
#endif
}
