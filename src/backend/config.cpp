#include "backend/config.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace varnola {
namespace {

namespace fs = std::filesystem;

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A host name or address as a request can reach it: letters, digits, "-", "." and "_".
// Anything else (a blank, a slash, a stray carriage return) would make every request fail.
bool IsHostName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
    if (!allowed) return false;
  }
  return true;
}

// "host" or "host:port" with a port of 1..65535; no scheme, path or blanks.
bool IsHostText(std::string_view host) {
  const auto colon = host.rfind(':');
  if (colon == std::string_view::npos) return IsHostName(host);
  const std::string_view name = host.substr(0, colon);
  const std::string_view port = host.substr(colon + 1);
  if (!IsHostName(name) || port.empty() || port.size() > 5) return false;
  if (port.find_first_not_of("0123456789") != std::string_view::npos) return false;
  const int value = std::atoi(std::string(port).c_str());
  return value >= 1 && value <= 65535;
}

std::string EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// Applies one key of a section; returns the reason when the entry is not acceptable.
std::string ApplyEntry(AppConfig& config, std::string_view section, std::string_view key,
                       std::string_view value, const fs::path& folder) {
  if (section == "hosts") {
    std::string* target = nullptr;
    if (key == "backend") target = &config.backendHost;
    if (key == "image") target = &config.imageHost;
    if (key == "tracking_detect") target = &config.trackingDetectHost;
    if (key == "tracking_query") target = &config.trackingQueryHost;
    if (!target) return "unknown key \"" + std::string(key) + "\" in [hosts]";
    if (!IsHostText(value)) {
      return "\"" + std::string(value) + "\" is not a host or host:port for " + std::string(key);
    }
    *target = value;
    return {};
  }
  if (section == "tls") {
    if (key != "ca_file") return "unknown key \"" + std::string(key) + "\" in [tls]";
    fs::path file(value);
    if (!value.empty() && file.is_relative()) file = folder / file;
    config.caFile = value.empty() ? std::string() : file.lexically_normal().string();
    return {};
  }
  return "key \"" + std::string(key) + "\" stands outside [hosts] and [tls]";
}

// The reason a line cannot be taken, or empty; updates the section and the configuration.
std::string ReadLine(std::string_view line, std::string& section, AppConfig& config,
                     const fs::path& folder) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() == ';' || line.front() == '#') return {};
  if (line.front() == '[') {
    if (line.back() != ']') return "a section header must end with \"]\"";
    const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
    if (name != "hosts" && name != "tls") return "unknown section [" + std::string(name) + "]";
    section = name;
    return {};
  }
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return "expected \"key = value\"";
  const std::string_view key = TrimBlanks(line.substr(0, equals));
  std::string_view value = TrimBlanks(line.substr(equals + 1));
  if (key.empty()) return "a key is missing before \"=\"";
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return ApplyEntry(config, section, key, value, folder);
}

}  // namespace

ConfigLoad LoadConfigFile(const std::string& path) {
  ConfigLoad load;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    load.error = path + ": cannot read the file (" + std::strerror(errno) + ")";
    return load;
  }
  const fs::path folder = fs::path(path).parent_path();
  std::string section;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string reason = ReadLine(line, section, load.config, folder);
    if (!reason.empty()) {
      load.error = path + ":" + std::to_string(number) + ": " + reason;
      return load;
    }
  }
  if (in.bad()) {
    load.error = path + ": reading the file failed";
    return load;
  }
  load.ok = true;
  return load;
}

std::string UserConfigPath() {
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  const std::string xdg = EnvValue("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.front() == '/') return xdg + "/varnola-orders/config.ini";
  const std::string home = EnvValue("HOME");
  if (!home.empty()) return home + "/.config/varnola-orders/config.ini";
  return {};
}

std::string DefaultConfigPath() {
  if (std::string explicitFile = EnvValue("VARNOLA_ORDERS_CONFIG"); !explicitFile.empty()) {
    return explicitFile;
  }
  return UserConfigPath();
}

ConfigLoad LoadConfig(const std::string& explicitPath) {
  if (!explicitPath.empty()) return LoadConfigFile(explicitPath);
  const std::string path = DefaultConfigPath();
  std::error_code error;
  if (!path.empty() && fs::exists(path, error)) return LoadConfigFile(path);
  ConfigLoad defaults;
  defaults.ok = true;
  return defaults;
}

std::string ConfigText(const AppConfig& config) {
  std::string text;
  text += "; varnola-orders: where the mall's back-end and the tracking service are found\n";
  text += "[hosts]\n";
  text += "backend = " + config.backendHost + "\n";
  text += "image = " + config.imageHost + "\n";
  text += "tracking_detect = " + config.trackingDetectHost + "\n";
  text += "tracking_query = " + config.trackingQueryHost + "\n";
  text += "\n[tls]\n";
  text += "; extra CA certificates (PEM) trusted for https, besides the system's own\n";
  text += "ca_file = " + config.caFile + "\n";
  return text;
}

std::string ConfigTemplateText() {
  const AppConfig demo;
  std::string text;
  text += "; varnola-orders: Varnola商城订单管理系统的配置 (the tool's configuration)\n";
  text += ";\n";
  text += "; The hosts below are those of the bundled simulator (varnola-sim) on this machine.\n";
  text += "; Put the mall's own hosts here to work with the real back-end.\n";
  text += "; 下列地址指向本机的模拟器 varnola-sim；连接真实商城时请改为商城的主机名。\n";
  text += "; Every host is \"host\" or \"host:port\", without http:// or https://.\n";
  text += "; Lines starting with ; are comments; keys left out keep these values.\n";
  text += "\n[hosts]\n";
  text += "; the merchant back-end: sign-in, dashboard, order lists and order pages (http)\n";
  text += "backend = " + demo.backendHost + "\n";
  text += "; the image host that serves the store's logo (http)\n";
  text += "image = " + demo.imageHost + "\n";
  text += "; the tracking service's carrier detection (https)\n";
  text += "tracking_detect = " + demo.trackingDetectHost + "\n";
  text += "; the tracking service's parcel query (http)\n";
  text += "tracking_query = " + demo.trackingQueryHost + "\n";
  text += "\n[tls]\n";
  text += "; Extra CA certificates (PEM) trusted for https besides the system's own, such as\n";
  text += "; the certificate the simulator prints at start. A relative path is taken from\n";
  text += "; this file's folder.\n";
  text += "; ca_file = /path/to/ca.pem\n";
  return text;
}

TemplateWrite WriteConfigTemplate(const std::string& path) {
  TemplateWrite result;
  result.path = path;
  const fs::path file(path);
  std::error_code error;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
  if (error) {
    result.error = path + ": cannot make its folder (" + error.message() + ")";
    return result;
  }
  // Mode "x" refuses a name that is taken (a file, a folder, even a dangling link), so a
  // merchant's file is never replaced, not even by a second window starting at once.
  std::FILE* out = std::fopen(path.c_str(), "wbx");
  if (!out) {
    if (errno != EEXIST) {
      result.error = path + ": cannot create the file (" + std::strerror(errno) + ")";
    }
    return result;
  }
  const std::string text = ConfigTemplateText();
  const bool complete = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  const int writeError = errno;
  const bool closed = std::fclose(out) == 0;
  if (!complete || !closed) {
    const int reason = complete ? errno : writeError;
    // A cut-off template would stop every later start with an error about its last line.
    fs::remove(file, error);
    result.error = path + ": writing the file failed (" + std::strerror(reason) + ")";
    return result;
  }
  result.written = true;
  return result;
}

TemplateWrite WriteConfigTemplateOnFirstStart() {
  if (!EnvValue("VARNOLA_ORDERS_CONFIG").empty()) return {};
  const std::string path = UserConfigPath();
  if (path.empty()) return {};
  return WriteConfigTemplate(path);
}

}  // namespace varnola
