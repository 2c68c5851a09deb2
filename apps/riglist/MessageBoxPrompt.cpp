#include "riglist/MessageBoxPrompt.h"

#include <QMessageBox>

namespace slipway {

PromptAnswer MessageBoxPrompt::show(std::string_view text, PromptButtons buttons) {
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    switch (buttons) {
        case PromptButtons::Ok:
            QMessageBox::warning(parent_, caption_, message, QMessageBox::Ok);
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return QMessageBox::warning(parent_, caption_, message,
                                        QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
                       ? PromptAnswer::Ok
                       : PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::question(parent_, caption_, message,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
                       ? PromptAnswer::Yes
                       : PromptAnswer::No;
    }
    return PromptAnswer::Cancel;
}

}  // namespace slipway
