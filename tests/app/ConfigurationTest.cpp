// The configuration file, the browser and the decimal separator: what a program start and the
// help menu rely on.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "app/Browser.h"
#include "app/Configuration.h"
#include "app/ProgramStart.h"
#include "base/Texts.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// A scratch folder set as HOME (and BROWSER left as it was) for the life of the object.
class THome {
public:
  THome() {
    Save("HOME", home_, hadHome_);
    Save("BROWSER", browser_, hadBrowser_);
    ::setenv("HOME", folder_.Path.c_str(), 1);
  }
  ~THome() {
    Restore("HOME", home_, hadHome_);
    Restore("BROWSER", browser_, hadBrowser_);
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  std::string Read(const std::string& name) const { return support::ReadFile(File(name)); }
  void Write(const std::string& name, const std::string& text) const {
    support::WriteFile(File(name), text);
  }

private:
  static void Save(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    if (v) value = v;
  }
  static void Restore(const char* name, const std::string& value, bool had) {
    if (had)
      ::setenv(name, value.c_str(), 1);
    else
      ::unsetenv(name);
  }
  support::TScratchFolder folder_{"tarvik2-home"};
  std::string home_, browser_;
  bool hadHome_ = false, hadBrowser_ = false;
};

} // namespace

TEST(Configuration, IniTextKeepsWhatItDoesNotOwn) {
  const std::string text = "; written by hand\r\n[Window]\nWidth=640\n\n[languages]\n"
                           " currentlanguage = 2057 \nOther=x\n\n[Last]\nK=1\n";
  EXPECT_EQ(IniInteger(text, "Languages", "CurrentLanguage", 0), 2057);
  EXPECT_EQ(IniInteger(text, "Window", "CurrentLanguage", -1), -1);
  EXPECT_EQ(IniInteger("[Languages]\nCurrentLanguage=abc\n", "Languages", "CurrentLanguage", 0), 0);
  EXPECT_EQ(IniInteger("[Languages]\nCurrentLanguage=\n", "Languages", "CurrentLanguage", 7), 7);
  EXPECT_EQ(IniInteger("CurrentLanguage=2057\n", "Languages", "CurrentLanguage", 0), 0);

  // Replaced where it stands; the other sections, keys and comments stay.
  EXPECT_EQ(IniWithInteger(text, "Languages", "CurrentLanguage", 1036),
            "; written by hand\n[Window]\nWidth=640\n\n[languages]\nCurrentLanguage=1036\n"
            "Other=x\n\n[Last]\nK=1\n");
  // Added at the end of its section, or with its section at the end.
  EXPECT_EQ(IniWithInteger("[Languages]\nA=1\n\n[B]\nC=2\n", "Languages", "CurrentLanguage", 0),
            "[Languages]\nA=1\nCurrentLanguage=0\n\n[B]\nC=2\n");
  EXPECT_EQ(IniWithInteger("[B]\nC=2\n", "Languages", "CurrentLanguage", 2057),
            "[B]\nC=2\n\n[Languages]\nCurrentLanguage=2057\n");
  EXPECT_EQ(IniWithInteger("", "Languages", "CurrentLanguage", 0),
            "[Languages]\nCurrentLanguage=0\n");
}

TEST(Configuration, LanguageLivesInTheUsersFile) {
  THome home;
  // No file: French, and the first write creates the file.
  EXPECT_EQ(ReadLanguage(), 0);
  ASSERT_TRUE(WriteLanguage(0));
  EXPECT_EQ(home.Read(".tarvik.ini"), "[Languages]\nCurrentLanguage=0\n");
  ASSERT_TRUE(WriteLanguage(lang::English));
  EXPECT_EQ(ReadLanguage(), lang::English);

  // Another program's sections survive a write.
  home.Write(".tarvik.ini", "[Mine]\nkeep=yes\n[Languages]\nCurrentLanguage=2057\n");
  ASSERT_TRUE(WriteLanguage(lang::French));
  EXPECT_EQ(home.Read(".tarvik.ini"), "[Mine]\nkeep=yes\n[Languages]\nCurrentLanguage=1036\n");
  // A malformed file reads as French, an unknown id is given back as it is.
  home.Write(".tarvik.ini", "\x01\x02 garbage [[[\n");
  EXPECT_EQ(ReadLanguage(), 0);
  home.Write(".tarvik.ini", "[Languages]\nCurrentLanguage=7\n");
  EXPECT_EQ(ReadLanguage(), 7);

  // A home folder that cannot be written: the write fails, the file stays as it was.
  if (::geteuid() != 0) {
    ::chmod(home.File("").c_str(), 0500);
    EXPECT_FALSE(WriteLanguage(lang::English));
    ::chmod(home.File("").c_str(), 0700);
    EXPECT_EQ(ReadLanguage(), 7);
  }
  ::unsetenv("HOME");
  EXPECT_EQ(UserConfigurationPath(), "");
  EXPECT_FALSE(WriteLanguage(lang::English));
}

TEST(Browser, TargetIsOneArgumentAndNoShellRunsIt) {
  THome home;
  // A browser that writes each of its arguments on a line of its own.
  const std::string script = home.File("browser.sh");
  const std::string record = home.File("arguments.txt");
  home.Write("browser.sh", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                               record + ".part'\nmv '" + record + ".part' '" + record + "'\n");
  ::chmod(script.c_str(), 0700);
  ::setenv("BROWSER", script.c_str(), 1);
  EXPECT_EQ(BrowserProgram(), script);

  const std::string target = home.File("my help; touch injected 'quoted' $(x).htm");
  ASSERT_TRUE(OpenInBrowser(target));
  for (int i = 0; i < 500 && !fs::exists(record); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(home.Read("arguments.txt"), target + "\n");
  EXPECT_FALSE(fs::exists(home.File("injected")));

  // A browser that does not exist cannot be started.
  ::setenv("BROWSER", home.File("no-such-browser").c_str(), 1);
  EXPECT_FALSE(OpenInBrowser(target));
  // Without BROWSER, the desktop's opener.
  ::unsetenv("BROWSER");
  EXPECT_EQ(BrowserProgram(), "xdg-open");
  ::setenv("BROWSER", "", 1);
  EXPECT_EQ(BrowserProgram(), "xdg-open");

  // Help pages: one per language, any other id French.
  EXPECT_NE(HelpIndexPath(2057).find("index.htm"), std::string::npos);
  EXPECT_EQ(HelpIndexPath(7), HelpIndexPath(1036));
  EXPECT_NE(HelpIndexPath(2057), HelpIndexPath(1036));
  for (const std::string& page : {HelpIndexPath(1036), HelpIndexPath(2057), HomePagePath()})
    EXPECT_TRUE(fs::exists(page)) << page;
}

TEST(ProgramStart, NumbersKeepTheirDotWhateverTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  bool commaLocale = false;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"})
    if (std::setlocale(LC_ALL, name)) {
      commaLocale = true;
      break;
    }
  if (commaLocale) {
    EXPECT_EQ(Format("%.3f", 1.5), "1,500"); // the trap the program avoids
  }
  UseDotDecimalSeparator();
  EXPECT_EQ(Format("%.3f", 1.5), "1.500");
  EXPECT_EQ(std::strtod("2.25", nullptr), 2.25);
  std::ostringstream stream;
  stream << 0.5;
  EXPECT_EQ(stream.str(), "0.5");
  std::setlocale(LC_ALL, saved.c_str());
  std::locale::global(std::locale::classic());
}
