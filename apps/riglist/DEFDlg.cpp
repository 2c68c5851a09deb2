#include "riglist/DEFDlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "base/Paths.h"
#include "base/UserPrompt.h"
#include "formats/DefEditing.h"
#include "qtshell/DialogUnits.h"
#include "riglist/MyList.h"
#include "riglist/SettingsDlg.h"

namespace slipway {

namespace {

// Names in DEF files are bytes; Latin-1 maps each byte to one character and back, so a name
// that is shown and applied unchanged keeps its exact bytes.
QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment alignmentOf(ColumnAlign align) {
    return (align == ColumnAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
}

QIcon programIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(38, 84, 124));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(1, 1, 30, 30, 5, 5);
    p.setPen(QPen(QColor(240, 240, 230), 2));
    for (int y = 9; y <= 23; y += 7)
        p.drawLine(7, y, 25, y);
    p.setPen(QPen(QColor(240, 200, 90), 2));
    p.drawLine(12, 6, 12, 26);
    return QIcon(pixmap);
}

QPushButton* makeButton(const char* text, const char* name, QRect place, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

QLabel* makeLabel(const char* text, QRect place, Qt::Alignment align, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(place);
    label->setAlignment(align);
    return label;
}

}  // namespace

DEFDlg::DEFDlg(UserPrompt& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Riglist");
    setWindowIcon(programIcon());
    setFixedSize(dialogSize(448, 199));
    setFont(dialogFont(font()));

    list_ = new MyList(this);
    list_->setObjectName("list");
    list_->setGeometry(dialogRect(13, 15, 336, 99));

    apply_ = makeButton("Apply", "apply", dialogRect(357, 106, 77, 17), this);
    apply_->setDefault(true);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("editValue");
    edit_->setGeometry(dialogRect(356, 83, 77, 14));
    edit_->setAlignment(Qt::AlignHCenter);
    edit_->setMaxLength(static_cast<int>(kEditTextMax));
    makeLabel("Edit Value", dialogRect(357, 65, 72, 13), Qt::AlignHCenter | Qt::AlignTop, this);

    auto* settings = makeButton("Settings", "settings", dialogRect(15, 120, 80, 18), this);
    auto* open = makeButton("Open File", "openFile", dialogRect(15, 145, 80, 18), this);
    help_ = makeLabel("", dialogRect(105, 119, 242, 66), Qt::AlignLeft | Qt::AlignTop, this);
    help_->setObjectName("help");
    help_->setFrameStyle(QFrame::Box | QFrame::Plain);
    help_->setMargin(2);
    makeLabel("Num Records", dialogRect(360, 14, 47, 14), Qt::AlignLeft | Qt::AlignTop, this);
    count_ = makeLabel("", dialogRect(409, 13, 23, 12), Qt::AlignCenter, this);
    count_->setObjectName("numRecords");
    count_->setFrameStyle(QFrame::Box | QFrame::Plain);
    newRecord_ = makeButton("New Record", "newRecord", dialogRect(353, 28, 81, 12), this);
    deleteRecord_ = makeButton("Delete Record", "deleteRecord", dialogRect(353, 42, 81, 12), this);
    saveFile_ = makeButton("Save File", "saveFile", dialogRect(15, 168, 80, 18), this);
    auto* ok = makeButton("OK", "ok", dialogRect(357, 144, 76, 26), this);
    auto* cancel = makeButton("Cancel", "cancel", dialogRect(358, 172, 75, 14), this);

    connect(apply_, &QPushButton::clicked, this, &DEFDlg::applyEdit);
    connect(settings, &QPushButton::clicked, this, &DEFDlg::editSettings);
    connect(open, &QPushButton::clicked, this, &DEFDlg::openFileFromDialog);
    connect(newRecord_, &QPushButton::clicked, this, &DEFDlg::newRecord);
    connect(deleteRecord_, &QPushButton::clicked, this, &DEFDlg::deleteRecord);
    connect(saveFile_, &QPushButton::clicked, this, &DEFDlg::saveFile);
    connect(ok, &QPushButton::clicked, this, &DEFDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &DEFDlg::reject);
    connect(list_, &MyList::cellHit, this, &DEFDlg::beginEdit);
    connect(list_, &QTableWidget::itemSelectionChanged, this, &DEFDlg::selectionChanged);

    newRecord_->setEnabled(false);
    deleteRecord_->setEnabled(false);
    saveFile_->setEnabled(false);
    showRecords(true);
}

QPushButton* DEFDlg::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void DEFDlg::openFileFromDialog() {
    QString path;
    if (chooser_) {
        path = chooser_();
    } else {
        const QString start = document_.path.empty()
                                  ? QString()
                                  : QFileInfo(QString::fromLocal8Bit(document_.path)).path();
        path = QFileDialog::getOpenFileName(this, "Open", start, "DEF Files (*.def *.DEF)");
    }
    // A cancelled dialog leaves the document, its path and the caption as they were.
    if (path.isEmpty())
        return;
    openFile(path);
}

bool DEFDlg::openFile(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    auto document = readDefFile(full.toLocal8Bit().toStdString());
    if (!document)
        return false;
    document_ = std::move(*document);
    showCount();
    showRecords();
    newRecord_->setEnabled(true);
    deleteRecord_->setEnabled(true);
    saveFile_->setEnabled(true);
    setWindowTitle("Riglist - " + QFileInfo(full).fileName());
    return true;
}

bool DEFDlg::save() {
    if (document_.path.empty())
        return true;
    if (writeDefFile(document_))
        return true;
    // The old file is kept as it was; say so instead of letting the edits look saved.
    tell(prompt_, "Cannot save the DEF file\n" + document_.path);
    return false;
}

void DEFDlg::saveFile() {
    save();
}

void DEFDlg::accept() {
    if (!save())
        return;
    QDialog::accept();
}

void DEFDlg::newRecord() {
    if (!addDefRecord(document_)) {
        tell(prompt_, kVeryManyItemsText);
        return;
    }
    showRecords();
    list_->scrollToBottom();
    showCount();
}

void DEFDlg::deleteRecord() {
    const auto selected = list_->selectionModel()->selectedRows();
    if (document_.count() == 0 || selected.isEmpty())
        return;
    const int row = selected.first().row();
    if (!deleteDefRecord(document_, row))
        return;
    showRecords();
    if (document_.count() > 0) {
        list_->scrollToItem(list_->item(std::min(row, document_.count() - 1), 0));
    }
    showCount();
}

void DEFDlg::editSettings() {
    SettingsDlg dialog(settings_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings_ = dialog.settings();
    showRecords();
}

void DEFDlg::showCount() {
    count_->setText(QString::number(document_.count()));
}

void DEFDlg::showRecords(bool beforeAnyFile) {
    // The rows are rebuilt, so a pending edit would point at a row that may now show another
    // record: it ends here.
    editPending_ = false;
    editRow_ = editColumn_ = -1;
    setEditEnabled(false);

    list_->clear();
    list_->setRowCount(0);
    const auto columns = defListColumns(settings_, beforeAnyFile);
    map_ = columnMap(settings_);
    list_->setColumnCount(static_cast<int>(columns.size()));
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const DefColumn& column = columns[static_cast<std::size_t>(c)];
        auto* header = new QTableWidgetItem(QString::fromLatin1(column.title));
        header->setTextAlignment(alignmentOf(column.align));
        list_->setHorizontalHeaderItem(c, header);
        list_->setColumnWidth(c, column.width);
    }
    list_->setRowCount(document_.count());
    for (int r = 0; r < document_.count(); ++r) {
        const DefRecord& record = document_.records[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const DefColumn& column = columns[static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(fromBytes(defCellText(record, column.kind)));
            item->setTextAlignment(alignmentOf(column.align));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            list_->setItem(r, c, item);
        }
    }
}

void DEFDlg::beginEdit(int row, int column) {
    editRow_ = row;
    editColumn_ = column;
    const auto field = fieldAtColumn(map_, column);
    if (!field || row < 0 || row >= document_.count()) {
        // "Num" and the name columns hold no value to edit.
        editPending_ = false;
        setEditEnabled(false);
        return;
    }
    const QTableWidgetItem* item = list_->item(row, column);
    edit_->setText(item ? item->text().left(static_cast<int>(kEditTextMax)) : QString());
    editPending_ = true;
    setEditEnabled(true);
    apply_->setFocus();
    const auto help = defEditHelp(document_.records[static_cast<std::size_t>(row)], *field);
    if (help)
        help_->setText(fromBytes(std::string(*help)));
}

void DEFDlg::selectionChanged() {
    // Editing stays possible only while the edited row is the selected one.
    const auto selected = list_->selectionModel()->selectedRows();
    const bool onEditedRow = !selected.isEmpty() && selected.first().row() == editRow_;
    setEditEnabled(editPending_ && onEditedRow);
}

void DEFDlg::applyEdit() {
    if (!edit_->isEnabled())
        return;
    setEditEnabled(false);
    editPending_ = false;
    const QString typed = edit_->text().left(static_cast<int>(kEditTextMax));
    const QByteArray bytes = typed.toLatin1();
    const auto field = fieldAtColumn(map_, editColumn_);
    const EditResult result = slipway::applyEdit(document_, editRow_, field,
                                                 std::string_view(bytes.constData(), bytes.size()));
    if (result == EditResult::Refused) {
        tell(prompt_, kUncorrectValueText);
        return;
    }
    if (result != EditResult::Stored)
        return;
    // The cell keeps the text as typed until the list is rebuilt; the names follow the codes.
    setCellText(editRow_, editColumn_, typed);
    const DefRecord& record = document_.records[static_cast<std::size_t>(editRow_)];
    if (*field == DefField::Class || *field == DefField::Type) {
        const int classColumn = map_[DefField::Class];
        const int typeColumn = map_[DefField::Type];
        if (classColumn >= 0) {
            setCellText(editRow_, classColumn + 1,
                        fromBytes(defCellText(record, DefColumnKind::ClassName)));
        }
        if (typeColumn >= 0) {
            setCellText(editRow_, typeColumn + 1,
                        fromBytes(defCellText(record, DefColumnKind::TypeName)));
        }
    }
}

void DEFDlg::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = list_->item(row, column))
        item->setText(text);
}

void DEFDlg::setEditEnabled(bool enabled) {
    edit_->setEnabled(enabled);
    apply_->setEnabled(enabled);
}

}  // namespace slipway
