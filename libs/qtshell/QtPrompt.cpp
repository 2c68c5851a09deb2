#include "qtshell/QtPrompt.h"

#include <QMessageBox>

namespace slipway {

PromptAnswer QtPrompt::show(std::string_view text, PromptButtons buttons) {
    QMessageBox box(owner_.data());
    box.setWindowTitle(caption_);
    // Paths and names from files may hold '<' and '&'; they must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    switch (buttons) {
        case PromptButtons::Ok:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            return box.exec() == QMessageBox::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    return PromptAnswer::Cancel;
}

}  // namespace slipway
