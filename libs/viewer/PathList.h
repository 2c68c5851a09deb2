#pragma once
// The path list dialog: edits one of the two search directory lists of Dialog.ini (the model
// or the texture directories). Rows are in search order; Up and Down move the selected row,
// Add appends a chosen folder, Del removes the selected row; OK writes the list back (the
// section is replaced, so removed entries disappear), Cancel leaves the file untouched.
// At most fifteen rows are shown; entries beyond them are kept and written after the rows.

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "engine/SearchPaths.h"

class QPushButton;
class QTreeWidget;

namespace slipway {

class PathList : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kShownDirectories = 15;
    // How far entries beyond the shown rows are read, so that OK keeps them.
    static constexpr int kKeptDirectories = 256;
    enum ListKind { ModelList = 0, TextureList = 1 };

    PathList(const SearchPaths& paths, int listKind, QWidget* parent = nullptr);

    // Asks for the folder that Add appends; an empty text means the user cancelled. The
    // default shows the system's folder browser.
    std::function<QString()> chooseDirectory;

    QTreeWidget* list() const { return list_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* delButton() const { return del_; }

    void moveUp();
    void moveDown();
    void addDirectory();
    void deleteDirectory();
    void accept() override;

    // The arrow icons of the Up and Down buttons: a black triangle with a small dot on the
    // side it points away from, on a transparent ground.
    static QIcon arrowIcon(bool pointsUp);

  private:
    int selectedRow() const;
    void swapWithNext(int row);
    void selectOnly(int row);

    const SearchPaths& paths_;
    int listKind_;
    std::vector<std::string> beyondShown_;
    QTreeWidget* list_;
    QPushButton* up_;
    QPushButton* down_;
    QPushButton* add_;
    QPushButton* del_;
};

}  // namespace slipway
