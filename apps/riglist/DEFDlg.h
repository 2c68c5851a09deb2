#pragma once
// Riglist's main window: the records of one DEF file in a list, an edit box with Apply for the
// value of one cell, a help text, a record counter and the buttons that open, save, add and
// delete records and choose the visible columns. OK saves and closes; Cancel closes without
// saving.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "formats/DefColumns.h"
#include "formats/DefFile.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace slipway {

class MyList;
class UserPrompt;

class DEFDlg : public QDialog {
    Q_OBJECT
  public:
    explicit DEFDlg(UserPrompt& prompt, QWidget* parent = nullptr);

    // Opens `path` as Open File does once a file is chosen. A refused file changes nothing:
    // the records, the path written by Save File and OK, and the caption stay as they were.
    bool openFile(const QString& path);

    // Replaces the open-file dialog (for tests): returns the chosen path, empty for Cancel.
    void setFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

    const DefDocument& document() const { return document_; }
    const ColumnSettings& columnSettings() const { return settings_; }
    const ColumnMap& currentColumnMap() const { return map_; }

    MyList* list() const { return list_; }
    QLineEdit* editBox() const { return edit_; }
    QPushButton* applyButton() const { return apply_; }
    QLabel* helpText() const { return help_; }
    QLabel* countText() const { return count_; }
    QPushButton* button(const char* objectName) const;

  public slots:
    void openFileFromDialog();
    void saveFile();
    void newRecord();
    void deleteRecord();
    void editSettings();
    void applyEdit();
    void beginEdit(int row, int column);
    void accept() override;

  private:
    void showRecords(bool beforeAnyFile = false);
    void selectionChanged();
    void setEditEnabled(bool enabled);
    void showCount();
    bool save();
    void setCellText(int row, int column, const QString& text);

    UserPrompt& prompt_;
    std::function<QString()> chooser_;
    DefDocument document_;
    ColumnSettings settings_;
    ColumnMap map_;
    int editRow_ = -1;
    int editColumn_ = -1;
    bool editPending_ = false;  // a cell was double-clicked and not yet applied

    MyList* list_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QPushButton* apply_ = nullptr;
    QLabel* help_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* newRecord_ = nullptr;
    QPushButton* deleteRecord_ = nullptr;
    QPushButton* saveFile_ = nullptr;
};

}  // namespace slipway
