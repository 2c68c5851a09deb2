#include "viewer/QtPrompt.h"

#include <QMessageBox>

namespace slipway {

PromptAnswer QtPrompt::show(std::string_view text, PromptButtons buttons) {
    QMessageBox box(owner_.data());
    box.setWindowTitle(caption_);
    box.setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    box.setIcon(QMessageBox::NoIcon);
    switch (buttons) {
        case PromptButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Ok;
    }
}

}  // namespace slipway
