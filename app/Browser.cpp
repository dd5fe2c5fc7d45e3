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

namespace {

// A page of the documentation, `relative` to its folder: the installed copy under
// /usr/local/tarvik2/doc, else under the prefix the program itself was installed in, else the
// copy in the source tree (a program run from its build folder).
std::string DocumentPath(const std::string& relative) {
  const std::string installed = "/usr/local/tarvik2/doc/" + relative;
  std::error_code ec;
  if (fs::exists(installed, ec)) return installed;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path beside = program.parent_path().parent_path() / "tarvik2" / "doc" / relative;
    if (fs::exists(beside, ec)) return beside.string();
  }
#ifdef TARVIK_SOURCE_DIR
  const std::string source = std::string(TARVIK_SOURCE_DIR) + "/doc/help/" + relative;
  if (fs::exists(source, ec)) return source;
#endif
  return installed;
}

} // namespace

std::string HelpIndexPath(int language) {
  return DocumentPath(language == 2057 ? "Help/index.htm" : "Aide/index.htm");
}

std::string HomePagePath() {
  return DocumentPath("home.htm");
}
