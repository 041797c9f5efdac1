#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/seams/order_columns.h"
#include "backend/config.h"
#include "http/encodings.h"
#include "http/web_request.h"
#include "sim/sim_server.h"
#include "support/local_literal.h"
#include "support/sim_order_cells.h"
#include "support/fake_frontend.h"

namespace varnola::test {

// A simulator on free loopback ports, a clean cookie store and an in-memory frontend.
class SimFixture : public ::testing::Test {
 protected:
  void StartSim(sim::SimOptions options = {}) {
    m_sim = std::make_unique<sim::SimServer>(std::move(options));
    ASSERT_TRUE(m_sim->Start()) << m_sim->error();
    config = m_sim->ClientConfig();
    WebSettings settings = CurrentWebSettings();
    settings.extraCaFile = config.caFile;
    settings.connectTimeout = std::chrono::milliseconds(3000);
    settings.idleTimeout = std::chrono::milliseconds(3000);
    SetWebSettings(settings);
    ClearCookieStore();
  }

  void TearDown() override {
    CloseIdleConnections();
    if (m_sim) m_sim->Stop();
    ClearCookieStore();
  }

  sim::SimServer& server() { return *m_sim; }

  // The row's cells 1..21 as the back-end's data says they must read.
  static std::vector<std::string> ExpectedCells(const sim::SimOrder& order) {
    std::vector<std::string> local;
    for (const std::string& text : OrderCellsUtf8(order)) local.push_back(Utf8ToLocal(text));
    return local;
  }

  static std::vector<std::string> RowCells(const OrderTable& table, int row, int from, int to) {
    std::vector<std::string> cells;
    for (int column = from; column <= to; ++column) cells.push_back(table.CellText(row, column));
    return cells;
  }

  AppConfig config;
  FakeFrontend fake;

 private:
  std::unique_ptr<sim::SimServer> m_sim;
};

}  // namespace varnola::test
