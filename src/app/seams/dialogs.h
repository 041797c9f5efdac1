#pragma once

#include <optional>
#include <string>

namespace varnola {

// A message box with a single OK button under the caption "信息："; returns once closed.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& localText) = 0;
};

// The Save-As dialog of the export; the chosen path as local text, nothing when cancelled.
class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  virtual std::optional<std::string> AskSavePath() = 0;
};

}  // namespace varnola
