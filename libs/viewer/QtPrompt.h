#pragma once
// The user prompt as a modal message box with the program's name as caption.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "base/UserPrompt.h"

namespace slipway {

class QtPrompt : public UserPrompt {
  public:
    explicit QtPrompt(QString caption) : caption_(std::move(caption)) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override;
    // The window the boxes belong to (none: application-modal without owner).
    void setOwner(QWidget* owner) { owner_ = owner; }

  private:
    QString caption_;
    QPointer<QWidget> owner_;
};

}  // namespace slipway
