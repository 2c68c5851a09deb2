#pragma once
// The viewer's background choice: a 128 x 128 field of colours. Releasing the left button on
// it takes the colour under the cursor; releasing the right button closes it without a choice.

#include <cstdint>
#include <optional>

#include <QDialog>
#include <QImage>

namespace slipway::pixmill {

class ColourChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ColourChoiceDialog(QWidget* parent = nullptr);
    // The colour picked (red in the low byte), nothing when closed without a choice.
    std::optional<std::uint32_t> chosen() const { return chosen_; }
    // The field's widget, where the mouse is used.
    QWidget* field() const { return field_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* field_ = nullptr;
    QImage image_;
    std::optional<std::uint32_t> chosen_;
};

}  // namespace slipway::pixmill
