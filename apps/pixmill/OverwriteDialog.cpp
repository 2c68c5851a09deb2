#include "pixmill/OverwriteDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace slipway::pixmill {

OverwriteDialog::OverwriteDialog(const std::string& path, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Overwrite file");
    path_ = new QLineEdit(QString::fromLocal8Bit(path), this);
    path_->setReadOnly(true);
    path_->setMinimumWidth(path_->fontMetrics().horizontalAdvance(QString(48, 'x')));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel("File: ", this));
    pathRow->addWidget(path_, 1);

    struct Button {
        const char* text;
        OverwriteChoice choice;
    };
    const Button buttons[] = {{"Yes", OverwriteChoice::Yes},
                              {"No", OverwriteChoice::No},
                              {"Yes to All", OverwriteChoice::YesToAll},
                              {"No to All", OverwriteChoice::NoToAll}};
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (const Button& button : buttons) {
        auto* push = new QPushButton(button.text, this);
        push->setAutoDefault(false);
        const OverwriteChoice choice = button.choice;
        connect(push, &QPushButton::clicked, this, [this, choice] {
            choice_ = choice;
            accept();
        });
        buttonRow->addWidget(push);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addLayout(buttonRow);
}

OverwriteChoice OverwriteDialog::ask(const std::string& path, QWidget* parent) {
    OverwriteDialog dialog(path, parent);
    dialog.exec();
    return dialog.choice();
}

}  // namespace slipway::pixmill
