// The order-management program: one window, closed to end the program.
//
// Usage: varnola-orders [--screenshot FILE [--page N]] [--help] [--version]
//   --screenshot FILE  writes a PNG of the window as it opens (page N of the tab control,
//                      0 by default) and ends, for checking the window's look.
//
// The first start writes a commented configuration template where the program looks for
// its configuration (see backend/config.h).

#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>

#include "app/app_icon.h"
#include "app/core_commands.h"
#include "app/main_window.h"
#include "app/speech/speech_announcer.h"
#include "app/tab_control.h"
#include "backend/config.h"
#include "http/web_request.h"

namespace {

// Grabs the window once it has been shown and painted, then ends the event loop.
void ScreenshotWhenShown(varnola::MainWindow& window, const QString& file, int page) {
  window.Form().tabs->SetCurrentIndex(page);
  QTimer::singleShot(500, &window, [&window, file] {
    const bool saved = window.grab().save(file, "PNG");
    window.close();
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

// --help and --version only print, so they must work where no display is at hand, and the
// window's QApplication cannot start without one.
bool AsksOnlyForText(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    for (const char* flag : {"-h", "--help", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], flag) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName(QStringLiteral("varnola-orders"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VARNOLA_VERSION));

  QCommandLineParser options;
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Write a PNG of the window and end."),
                                      QStringLiteral("file"));
  const QCommandLineOption page(QStringLiteral("page"), QStringLiteral("Tab page to show."),
                                QStringLiteral("index"), QStringLiteral("0"));
  options.addOptions({screenshot, page});
  options.addHelpOption();
  options.addVersionOption();
  if (AsksOnlyForText(argc, argv)) {
    QCoreApplication textOnly(argc, argv);
    options.process(textOnly);  // prints, then ends the program
  }

  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral("varnola-orders"));
  QApplication::setWindowIcon(varnola::ApplicationIcon());
  options.process(app);

  const varnola::TemplateWrite firstStart = varnola::WriteConfigTemplateOnFirstStart();
  if (firstStart.written) {
    std::fprintf(stderr, "varnola-orders: wrote a configuration template to %s\n",
                 firstStart.path.c_str());
  } else if (!firstStart.error.empty()) {
    std::fprintf(stderr, "varnola-orders: %s\n", firstStart.error.c_str());
  }
  const varnola::ConfigLoad config = varnola::LoadConfig();
  if (!config.ok) {
    QMessageBox::critical(nullptr, QStringLiteral("varnola-orders"),
                          QString::fromStdString(config.error));
    return 4;
  }
  varnola::WebSettings web = varnola::CurrentWebSettings();
  web.extraCaFile = config.config.caFile;
  varnola::SetWebSettings(web);

  // Start-up: the voice first, then the commands with the shared pattern object, then
  // the window.
  auto announcer = varnola::SpeechAnnouncer::Create();
  auto commands = std::make_unique<varnola::CoreCommands>(config.config);
  int status = 0;
  {
    varnola::MainWindow window(*commands, *announcer);
    // Closing the window ends every exchange at once, so no task waits for the network.
    window.SetCancelExchangesHook([] { varnola::ShutdownWebRequests(); });
    window.show();
    if (options.isSet(screenshot)) {
      ScreenshotWhenShown(window, options.value(screenshot), options.value(page).toInt());
    }
    status = QApplication::exec();
    // Exit clean-up: no task may still run when the objects it uses go away.
    window.Shutdown();
  }
  announcer.reset();
  commands.reset();
  return status;
}
