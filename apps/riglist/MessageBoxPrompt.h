#pragma once
// Messages to the user as modal message boxes captioned with the program's name.

#include <QString>

#include "base/UserPrompt.h"

class QWidget;

namespace slipway {

class MessageBoxPrompt : public UserPrompt {
  public:
    MessageBoxPrompt(QString caption, QWidget* parent = nullptr)
        : caption_(std::move(caption)), parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    PromptAnswer show(std::string_view text, PromptButtons buttons) override;

  private:
    QString caption_;
    QWidget* parent_;
};

}  // namespace slipway
