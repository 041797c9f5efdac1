#include "app/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/window_texts.h"
#include "http/encodings.h"

namespace varnola {

void QtMessageBox::Show(const std::string& localText) {
  ShowText(QString::fromStdString(LocalToUtf8(localText)));
}

void QtMessageBox::ShowText(const QString& text) {
  m_ui.Call([&] {
    if (m_ui.Closing()) return;
    QMessageBox box(QMessageBox::NoIcon, texts::MessageCaption(), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  });
}

std::optional<std::string> QtSaveDialog::AskSavePath() {
  return m_ui.Call([&]() -> std::optional<std::string> {
    if (m_ui.Closing()) return std::nullopt;
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    if (!m_lastPath.isEmpty()) dialog.selectFile(m_lastPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
      return std::nullopt;
    }
    m_lastPath = dialog.selectedFiles().constFirst();
    return Utf8ToLocal(m_lastPath.toStdString());
  });
}

}  // namespace varnola
