#pragma once

#include <string>

namespace varnola {

// Where the tool finds the mall and the tracking service. Hosts are "host" or
// "host:port"; the defaults are the simulator's fixed ports on this machine.
struct AppConfig {
  std::string backendHost = "127.0.0.1:18080";
  std::string imageHost = "127.0.0.1:18081";
  std::string trackingDetectHost = "127.0.0.1:18443";
  std::string trackingQueryHost = "127.0.0.1:18082";
  std::string caFile;  // extra CA certificates (PEM) for https; empty = the system store only
};

// The outcome of reading a configuration: the configuration, or an error that names the
// file and, for a fault inside it, the line.
struct ConfigLoad {
  bool ok = false;
  AppConfig config;
  std::string error;
};

// Reads an INI file with the sections [hosts] (backend, image, tracking_detect,
// tracking_query) and [tls] (ca_file). Keys left out keep their defaults; a relative
// ca_file is taken relative to the file's own folder.
ConfigLoad LoadConfigFile(const std::string& path);

// $XDG_CONFIG_HOME/varnola-orders/config.ini, else ~/.config/varnola-orders/config.ini;
// empty when neither can be formed.
std::string UserConfigPath();

// $VARNOLA_ORDERS_CONFIG, else UserConfigPath().
std::string DefaultConfigPath();

// The explicit path when one is given (it must exist), else the default path when that
// file exists, else the defaults.
ConfigLoad LoadConfig(const std::string& explicitPath = {});

// The INI text of a configuration, as LoadConfigFile reads it back.
std::string ConfigText(const AppConfig& config);

// The commented configuration a merchant starts from: every key explained, the hosts of
// the bundled simulator, the CA file line commented out. LoadConfigFile reads it as the
// defaults.
std::string ConfigTemplateText();

// What became of an attempt to write the template.
struct TemplateWrite {
  bool written = false;  // the template was written just now
  std::string path;      // the file concerned; empty when there was none to write
  std::string error;     // why it could not be written; empty otherwise
};

// Writes ConfigTemplateText() to the path, making its folder, unless something is there
// already: a file of the merchant's, even an empty or broken one, is never replaced.
TemplateWrite WriteConfigTemplate(const std::string& path);

// The window's first start: writes the template at UserConfigPath() when no file is there.
// Nothing is written when $VARNOLA_ORDERS_CONFIG names the file to use.
TemplateWrite WriteConfigTemplateOnFirstStart();

}  // namespace varnola
