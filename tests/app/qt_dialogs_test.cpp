#include "app/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "support/local_literal.h"

namespace varnola {
namespace {

// What the Save-As dialog offered when it opened.
struct SeenDialog {
  bool seen = false;
  QString folder;
  QStringList filters;
  QStringList offered;
  bool confirmsOverwrite = false;
  bool saves = false;
};

// Reads the next file dialog once it is open, then chooses `file` or cancels.
void AnswerNextFileDialog(QObject* context, SeenDialog& seen, QString file) {
  QTimer::singleShot(0, context, [context, &seen, file] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      AnswerNextFileDialog(context, seen, file);
      return;
    }
    seen = {true,
            dialog->directory().absolutePath(),
            dialog->nameFilters(),
            dialog->selectedFiles(),
            !dialog->testOption(QFileDialog::DontConfirmOverwrite),
            dialog->acceptMode() == QFileDialog::AcceptSave};
    if (file.isEmpty()) {
      dialog->reject();
    } else {
      dialog->selectFile(file);
      QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
    }
  });
}

TEST(QtSaveDialogTest, StartsOnTheDesktopAndOffersTheLastConfirmedPathLater) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  qputenv("HOME", home.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  ASSERT_TRUE(QDir().mkpath(desktop));
  const QString chosen = desktop + QStringLiteral("/订单.xlsx");

  UiThreadCaller ui;
  QtSaveDialog dialog(ui);
  QObject context;

  SeenDialog first;
  AnswerNextFileDialog(&context, first, chosen);
  EXPECT_EQ(dialog.AskSavePath(), std::optional<std::string>(test::L(chosen.toStdString())));
  ASSERT_TRUE(first.seen);
  EXPECT_EQ(first.folder, QDir(desktop).absolutePath());
  EXPECT_TRUE(first.confirmsOverwrite);
  EXPECT_TRUE(first.saves);
  for (const QString& filter : first.filters) {  // no file-type filter: every name fits
    EXPECT_TRUE(filter == "*" || filter.endsWith("(*)")) << filter.toStdString();
  }

  SeenDialog second;
  AnswerNextFileDialog(&context, second, {});
  EXPECT_EQ(dialog.AskSavePath(), std::nullopt);  // cancelled
  ASSERT_TRUE(second.seen);
  EXPECT_EQ(second.offered, QStringList{chosen});
}

}  // namespace
}  // namespace varnola
