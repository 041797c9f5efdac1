#include "http/web_request_fixture.h"

#include <algorithm>
#include <string>

namespace varnola::test {
namespace {

constexpr std::size_t kLargeHeaderBytes = 6000;

void AddRoutes(httplib::Server& routes, TestHttpServer& server) {
  const auto echo = [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok", "text/plain");
  };
  routes.Get("/echo", echo);
  routes.Post("/echo", echo);
  routes.Get("/echo-query", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(request.get_param_value("v"), "text/plain");
  });

  // The second cookie comes in lower case and with no attributes.
  routes.Get("/set-cookies", [](const httplib::Request& request, httplib::Response& response) {
    const std::string sid = request.has_param("sid") ? request.get_param_value("sid") : "1";
    response.set_header("Set-Cookie", "sid=" + sid + "; path=/");
    response.set_header("set-cookie", "lang=zh");
    response.set_content("cookies", "text/plain");
  });
  routes.Get("/large-head", [](const httplib::Request&, httplib::Response& response) {
    response.set_header("X-Filler", std::string(kLargeHeaderBytes, 'f'));
    response.set_header("Set-Cookie", "big=1; path=/");
    response.set_content("large", "text/plain");
  });

  const auto redirect = [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/final");
    response.set_content("moved", "text/plain");
  };
  routes.Get("/redirect", redirect);
  routes.Post("/redirect", redirect);
  routes.Get("/final", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("final", "text/plain");
  });
  routes.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
    response.set_content("missing", "text/plain");
  });

  // n bytes of body, with a length or (chunked=1) without one.
  routes.Get("/big", [](const httplib::Request& request, httplib::Response& response) {
    const std::size_t size = std::stoul(request.get_param_value("n"));
    const auto provide = [size](std::size_t offset, httplib::DataSink& sink) {
      if (offset >= size) {
        sink.done();
        return true;
      }
      const std::string piece(std::min<std::size_t>(size - offset, 16384), 'x');
      return sink.write(piece.data(), piece.size());
    };
    if (request.has_param("chunked")) {
      response.set_chunked_content_provider("text/plain", provide);
    } else {
      response.set_content_provider(
          size, "text/plain", [provide](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            return provide(offset, sink);
          });
    }
  });

  routes.Get("/stall", [&server](const httplib::Request&, httplib::Response& response) {
    server.Stall();
    response.set_content("late", "text/plain");
  });
  // Announces 100 bytes, sends 10 and stops.
  routes.Get("/stall-body", [&server](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(
        100, "text/plain", [&server](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          if (offset == 0) return sink.write("0123456789", 10);
          server.Stall();
          return false;
        });
  });
}

}  // namespace

void WebRequestTest::SetUp() {
  SetWebSettings(QuickSettings(std::chrono::seconds(5)));
  ClearCookieStore();
  AddRoutes(m_server.Routes(), m_server);
  ASSERT_TRUE(m_server.Start());
}

}  // namespace varnola::test
