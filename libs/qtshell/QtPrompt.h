#pragma once
// The user prompt as a modal message box with the program's name as caption. The text is
// shown as plain text, decoded from the local 8-bit encoding: the messages quote paths and
// names in the form the libraries were given them, which is how the programs pass file names
// to them (QString::toLocal8Bit). A box that asks Yes or No carries the question icon; the
// others report a failure or a refusal and carry the warning icon.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "base/UserPrompt.h"

namespace slipway {

class QtPrompt : public UserPrompt {
  public:
    explicit QtPrompt(QString caption) : caption_(std::move(caption)) {}
    // A box closed without a button (Escape, the close box) gives the declining answer:
    // Cancel or No, and OK for a box that has only OK.
    PromptAnswer show(std::string_view text, PromptButtons buttons) override;
    // The window the boxes belong to (none, or once it is gone: application-modal without an
    // owner).
    void setOwner(QWidget* owner) { owner_ = owner; }

  private:
    QString caption_;
    QPointer<QWidget> owner_;
};

}  // namespace slipway
