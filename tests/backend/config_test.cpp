#include <stdlib.h>
#include <sys/resource.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "backend/config.h"

namespace varnola {
namespace {

namespace fs = std::filesystem;

void ExpectSameConfig(const AppConfig& actual, const AppConfig& expected, const std::string& name) {
  EXPECT_EQ(actual.backendHost, expected.backendHost) << name;
  EXPECT_EQ(actual.imageHost, expected.imageHost) << name;
  EXPECT_EQ(actual.trackingDetectHost, expected.trackingDetectHost) << name;
  EXPECT_EQ(actual.trackingQueryHost, expected.trackingQueryHost) << name;
  EXPECT_EQ(actual.caFile, expected.caFile) << name;
}

// A folder of its own for each test, so tests may run in parallel.
class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "config-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
  }
  void TearDown() override { fs::remove_all(m_folder); }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = m_folder / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  fs::path m_folder;
};

TEST_F(ConfigTest, ReadsWellFormedFilesAndKeepsDefaultsForMissingKeys) {
  AppConfig full;
  full.backendHost = "mall.example";
  full.imageHost = "img.example:8081";
  full.trackingDetectHost = "127.0.0.1:443";
  full.trackingQueryHost = "track.example:80";
  full.caFile = "/etc/varnola/ca.pem";
  AppConfig onlyImage;
  onlyImage.imageHost = "img.example:8080";
  AppConfig quoted;
  quoted.caFile = "/a b/c;d.pem";

  struct Case {
    const char* name;
    std::string text;
    AppConfig expected;
  };
  const Case cases[] = {
      {"every key",
       "[hosts]\nbackend = mall.example\nimage = img.example:8081\ntracking_detect = "
       "127.0.0.1:443\ntracking_query = track.example:80\n[tls]\nca_file = /etc/varnola/ca.pem\n",
       full},
      {"empty file", "", AppConfig{}},
      {"sections without keys", "[hosts]\n[tls]\nca_file =\n", AppConfig{}},
      {"comments, blanks, CRLF and a byte-order mark",
       "\xEF\xBB\xBF; comment\r\n# another\r\n\r\n[ hosts ]\r\n  image   =  img.example:8080  \r\n",
       onlyImage},
      {"quoted value", "[tls]\nca_file = \"/a b/c;d.pem\"\n", quoted},
      {"written by ConfigText", ConfigText(full), full},
  };
  for (const Case& c : cases) {
    const ConfigLoad load = LoadConfigFile(Write("config.ini", c.text));
    ASSERT_TRUE(load.ok) << c.name << ": " << load.error;
    ExpectSameConfig(load.config, c.expected, c.name);
  }
}

TEST_F(ConfigTest, AFaultyFileGivesAnErrorNamingFileAndLine) {
  struct Case {
    const char* name;
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"line without =", "[hosts]\nbackend = a\nimage b\n", 3},
      {"section not closed", "[hosts\nbackend = a\n", 1},
      {"unknown section", "; c\n[proxy]\n", 2},
      {"unknown key", "[hosts]\nbackend_host = a\n", 2},
      {"key before any section", "backend = a\n[hosts]\n", 1},
      {"key of the wrong section", "[tls]\nbackend = a\n", 2},
      {"port out of range", "[hosts]\n\nbackend = a:70000\n", 3},
      {"port not a number", "[hosts]\nimage = a:http\n", 2},
      {"scheme given", "[hosts]\ntracking_query = http://a\n", 2},
      {"empty host", "[hosts]\ntracking_detect =\n", 2},
      {"missing key name", "[hosts]\n= a\n", 2},
      // A stray carriage return (a line ending in CR CR LF) is no part of a host name.
      {"control character in the host", "[hosts]\nbackend = 17__Cclasm\r\r\n", 2},
      {"characters no host name has", "[hosts]\nimage = shop?x=1\n", 2},
  };
  for (const Case& c : cases) {
    const std::string path = Write("bad.ini", c.text);
    const ConfigLoad load = LoadConfigFile(path);
    EXPECT_FALSE(load.ok) << c.name;
    EXPECT_TRUE(load.error.starts_with(path + ":" + std::to_string(c.line) + ": "))
        << c.name << ": " << load.error;
  }
  const std::string missing = (m_folder / "none.ini").string();
  const ConfigLoad load = LoadConfigFile(missing);
  EXPECT_FALSE(load.ok);
  EXPECT_TRUE(load.error.starts_with(missing + ": ")) << load.error;
}

TEST_F(ConfigTest, ARelativeCaFileIsTakenFromTheConfigurationsFolder) {
  const std::string path = Write("sub/config.ini", "[tls]\nca_file = certs/../ca.pem\n");
  const ConfigLoad load = LoadConfigFile(path);
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(load.config.caFile, (m_folder / "sub" / "ca.pem").string());
}

// Sets environment variables for one test and restores them afterwards.
class ScopedEnvironment {
 public:
  void Set(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    Apply(name, value);
  }
  ~ScopedEnvironment() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) Apply(it->first, it->second);
  }

 private:
  static void Apply(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST_F(ConfigTest, DefaultPathFollowsTheEnvironment) {
  struct Case {
    const char* name;
    std::optional<std::string> explicitFile, xdg, home;
    std::string expected;
  };
  const Case cases[] = {
      {"explicit file first", "/x/mine.ini", "/xdg", "/home/u", "/x/mine.ini"},
      {"XDG folder", std::nullopt, "/xdg", "/home/u", "/xdg/varnola-orders/config.ini"},
      {"empty explicit file is none", "", "/xdg", "/home/u", "/xdg/varnola-orders/config.ini"},
      {"relative XDG folder is ignored", std::nullopt, "xdg", "/home/u",
       "/home/u/.config/varnola-orders/config.ini"},
      {"home folder", std::nullopt, std::nullopt, "/home/u",
       "/home/u/.config/varnola-orders/config.ini"},
      {"nothing to go by", std::nullopt, std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    ScopedEnvironment environment;
    environment.Set("VARNOLA_ORDERS_CONFIG", c.explicitFile);
    environment.Set("XDG_CONFIG_HOME", c.xdg);
    environment.Set("HOME", c.home);
    EXPECT_EQ(DefaultConfigPath(), c.expected) << c.name;
  }
}

TEST_F(ConfigTest, LoadConfigTakesTheFirstFileThatExistsElseTheDefaults) {
  ScopedEnvironment environment;
  environment.Set("VARNOLA_ORDERS_CONFIG", std::nullopt);
  environment.Set("XDG_CONFIG_HOME", m_folder.string());

  const ConfigLoad defaults = LoadConfig();
  ASSERT_TRUE(defaults.ok) << defaults.error;
  ExpectSameConfig(defaults.config, AppConfig{}, "no file");

  Write("varnola-orders/config.ini", "[hosts]\nbackend = from-xdg:1\n");
  EXPECT_EQ(LoadConfig().config.backendHost, "from-xdg:1");

  const std::string explicitFile = Write("explicit.ini", "[hosts]\nbackend = explicit:2\n");
  EXPECT_EQ(LoadConfig(explicitFile).config.backendHost, "explicit:2");
  environment.Set("VARNOLA_ORDERS_CONFIG", explicitFile);
  EXPECT_EQ(LoadConfig().config.backendHost, "explicit:2");

  const ConfigLoad missing = LoadConfig((m_folder / "missing.ini").string());
  EXPECT_FALSE(missing.ok) << "a file named on the command line must exist";

  environment.Set("VARNOLA_ORDERS_CONFIG", Write("broken.ini", "[hosts]\nbroken\n"));
  const ConfigLoad broken = LoadConfig();
  EXPECT_FALSE(broken.ok);
  EXPECT_NE(broken.error.find("broken.ini:2: "), std::string::npos) << broken.error;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ConfigTest, TheTemplateIsWrittenOnceAndReadsBackAsTheDemoDefaults) {
  const fs::path path = m_folder / "new" / "folder" / "config.ini";
  const TemplateWrite first = WriteConfigTemplate(path.string());
  ASSERT_TRUE(first.written) << first.error;
  EXPECT_EQ(first.path, path.string());
  EXPECT_EQ(ReadAll(path), ConfigTemplateText());

  const ConfigLoad load = LoadConfigFile(path.string());
  ASSERT_TRUE(load.ok) << load.error;
  ExpectSameConfig(load.config, AppConfig{}, "template");
  EXPECT_NE(ConfigTemplateText().find("\n; ca_file = "), std::string::npos)
      << "the CA file line stands in the template, commented out";

  std::ofstream(path, std::ios::binary | std::ios::trunc) << "[hosts]\nbackend = mine:1\n";
  const TemplateWrite second = WriteConfigTemplate(path.string());
  EXPECT_FALSE(second.written);
  EXPECT_EQ(second.error, "");
  EXPECT_EQ(ReadAll(path), "[hosts]\nbackend = mine:1\n");
}

TEST_F(ConfigTest, TheTemplateNeverTakesANameThatIsTaken) {
  const fs::path empty = Write("empty.ini", "");
  const fs::path folder = m_folder / "folder.ini";
  fs::create_directory(folder);
  const fs::path link = m_folder / "link.ini";
  const fs::path linkTarget = m_folder / "elsewhere" / "target.ini";
  fs::create_directory(linkTarget.parent_path());
  fs::create_symlink(linkTarget, link);

  for (const fs::path& taken : {empty, folder, link}) {
    const TemplateWrite write = WriteConfigTemplate(taken.string());
    EXPECT_FALSE(write.written) << taken;
    EXPECT_EQ(write.error, "") << taken;
  }
  EXPECT_EQ(ReadAll(empty), "");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_FALSE(fs::exists(linkTarget)) << "the template must not be written through a link";

  const fs::path blocked = fs::path(Write("plain-file", "x")) / "config.ini";
  const TemplateWrite failed = WriteConfigTemplate(blocked.string());
  EXPECT_FALSE(failed.written);
  EXPECT_TRUE(failed.error.starts_with(blocked.string() + ": ")) << failed.error;
}

TEST_F(ConfigTest, AWriteCutShortLeavesNoTemplateBehind) {
  // A file size limit below the template's size makes the write fail part way (EFBIG).
  const fs::path path = m_folder / "config.ini";
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const TemplateWrite write = WriteConfigTemplate(path.string());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(write.written);
  EXPECT_TRUE(write.error.starts_with(path.string() + ": ")) << write.error;
  EXPECT_FALSE(fs::exists(path)) << "a cut-off template would break every later start";
}

TEST_F(ConfigTest, TheFirstStartWritesTheTemplateOnlyAtTheUsersOwnPath) {
  ScopedEnvironment environment;
  environment.Set("XDG_CONFIG_HOME", m_folder.string());
  const fs::path userFile = m_folder / "varnola-orders" / "config.ini";

  environment.Set("VARNOLA_ORDERS_CONFIG", (m_folder / "chosen.ini").string());
  const TemplateWrite redirected = WriteConfigTemplateOnFirstStart();
  EXPECT_FALSE(redirected.written);
  EXPECT_FALSE(fs::exists(userFile));
  EXPECT_FALSE(fs::exists(m_folder / "chosen.ini")) << "a file named by the caller is theirs";

  environment.Set("VARNOLA_ORDERS_CONFIG", std::nullopt);
  const TemplateWrite first = WriteConfigTemplateOnFirstStart();
  ASSERT_TRUE(first.written) << first.error;
  EXPECT_EQ(first.path, userFile.string());
  const ConfigLoad load = LoadConfig();
  ASSERT_TRUE(load.ok) << load.error;
  ExpectSameConfig(load.config, AppConfig{}, "first start");
  EXPECT_FALSE(WriteConfigTemplateOnFirstStart().written);
}

}  // namespace
}  // namespace varnola
