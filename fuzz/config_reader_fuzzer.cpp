// The configuration reader over arbitrary files.
#include <cstdint>

#include "backend/config.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnola;
  static fuzz::ScratchFile file("config.ini");
  const ConfigLoad load = LoadConfigFile(file.Write(data, size));
  fuzz::Require(load.ok == load.error.empty(), "a load either succeeds or says why");
  if (load.ok) {
    // What was read is written back and read again to the same configuration.
    const std::string text = ConfigText(load.config);
    const ConfigLoad again =
        LoadConfigFile(file.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    fuzz::Require(again.ok, "a written configuration reads back");
    fuzz::Require(again.config.backendHost == load.config.backendHost &&
                      again.config.imageHost == load.config.imageHost &&
                      again.config.trackingDetectHost == load.config.trackingDetectHost &&
                      again.config.trackingQueryHost == load.config.trackingQueryHost,
                  "the hosts read back unchanged");
  }
  return 0;
}
