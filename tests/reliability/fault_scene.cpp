#include "reliability/fault_scene.h"

namespace varnola::test {

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::Unreachable:
      return "Unreachable";
    case Fault::Refused:
      return "Refused";
    case Fault::Stall:
      return "Stall";
    case Fault::ServerError:
      return "ServerError";
    case Fault::CutBody:
      return "CutBody";
    case Fault::ExpiredSession:
      return "ExpiredSession";
    case Fault::RedirectLoop:
      return "RedirectLoop";
    case Fault::OversizeBody:
      return "OversizeBody";
    case Fault::UntrustedCertificate:
      return "UntrustedCertificate";
  }
  return "?";
}

void PrintTo(Fault fault, std::ostream* out) {
  *out << FaultName(fault);
}

FaultScene::FaultScene(Fault fault, int expireAfter, std::string pathPrefix)
    : m_fault(fault), m_expireAfter(expireAfter), m_pathPrefix(std::move(pathPrefix)) {
  if (fault == Fault::Unreachable) m_unreachable.emplace();
  if (fault == Fault::Refused) m_refusing.emplace();
}

AppConfig FaultScene::Config(const AppConfig& healthy) const {
  AppConfig config = healthy;
  int deadEnd = 0;
  if (m_unreachable) deadEnd = m_unreachable->port();
  if (m_refusing) deadEnd = m_refusing->port();
  if (deadEnd != 0) {
    const std::string host = "127.0.0.1:" + std::to_string(deadEnd);
    config.backendHost = config.imageHost = host;
    config.trackingDetectHost = config.trackingQueryHost = host;
  }
  if (m_fault == Fault::UntrustedCertificate) config.caFile.clear();
  return config;
}

sim::SimFaults FaultScene::SimFaults() const {
  sim::SimFaults faults;
  faults.pathPrefix = m_pathPrefix;
  switch (m_fault) {
    case Fault::Stall:
      faults.stall = true;
      break;
    case Fault::ServerError:
      faults.failRate = 1;
      break;
    case Fault::CutBody:
      faults.dropRate = 1;
      break;
    case Fault::ExpiredSession:
      faults.expireAfter = m_expireAfter;
      break;
    case Fault::RedirectLoop:
      faults.redirectLoop = true;
      break;
    default:
      break;
  }
  return faults;
}

WebSettings FaultScene::Settings(const WebSettings& healthy) const {
  WebSettings settings = healthy;
  if (m_fault == Fault::OversizeBody) settings.maxBodyBytes = kBodyCap;
  if (m_fault == Fault::UntrustedCertificate) settings.extraCaFile.clear();
  return settings;
}

}  // namespace varnola::test
