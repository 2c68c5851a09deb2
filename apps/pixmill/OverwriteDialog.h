#pragma once
// The dialog "Overwrite file": the output path after "File: ", and the buttons Yes, No,
// Yes to All and No to All.

#include <string>

#include <QDialog>

#include "pixmill/WindowBatch.h"

class QLineEdit;

namespace slipway::pixmill {

class OverwriteDialog : public QDialog {
    Q_OBJECT
  public:
    OverwriteDialog(const std::string& path, QWidget* parent = nullptr);
    // The button pressed; Closed when the dialog was closed without one.
    OverwriteChoice choice() const { return choice_; }
    QLineEdit* pathField() const { return path_; }
    // Shows the dialog for `path` and returns the answer.
    static OverwriteChoice ask(const std::string& path, QWidget* parent);

  private:
    QLineEdit* path_ = nullptr;
    OverwriteChoice choice_ = OverwriteChoice::Closed;
};

}  // namespace slipway::pixmill
