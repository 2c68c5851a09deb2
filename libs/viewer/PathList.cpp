#include "viewer/PathList.h"

#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>

#include "qtshell/DialogUnits.h"

namespace slipway {

namespace {

constexpr int kRowTextMax = 255;

const char* sectionOf(int listKind) {
    return listKind == PathList::TextureList ? kTexturePathSection : kModelPathSection;
}

QString rowText(const QTreeWidgetItem* item) {
    return item->text(0).left(kRowTextMax);
}

}  // namespace

PathList::PathList(const SearchPaths& paths, int listKind, QWidget* parent)
    : QDialog(parent), paths_(paths), listKind_(listKind) {
    setWindowTitle(listKind_ == TextureList ? "List Directories for Texture Files"
                                            : "List Directories for Model Files");
    setFixedSize(dialogX(325), dialogY(164));

    list_ = new QTreeWidget(this);
    list_->setObjectName("list");
    list_->setGeometry(dialogRect(7, 7, 262, 123));
    list_->setColumnCount(1);
    list_->setHeaderLabels({"column"});
    list_->headerItem()->setTextAlignment(0, Qt::AlignHCenter);
    list_->setHeaderHidden(true);
    list_->setColumnWidth(0, 360);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);

    up_ = new QPushButton(arrowIcon(true), QString(), this);
    up_->setObjectName("up");
    up_->setAccessibleName("Up");
    up_->setIconSize(QSize(32, 32));
    up_->setGeometry(dialogRect(282, 7, 36, 25));
    down_ = new QPushButton(arrowIcon(false), QString(), this);
    down_->setObjectName("down");
    down_->setAccessibleName("Down");
    down_->setIconSize(QSize(32, 32));
    down_->setGeometry(dialogRect(284, 36, 34, 28));
    add_ = new QPushButton("Add", this);
    add_->setGeometry(dialogRect(284, 70, 34, 28));
    del_ = new QPushButton("Del", this);
    del_->setGeometry(dialogRect(284, 102, 34, 28));
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(dialogRect(163, 133, 50, 24));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(dialogRect(63, 132, 50, 24));

    connect(up_, &QPushButton::clicked, this, &PathList::moveUp);
    connect(down_, &QPushButton::clicked, this, &PathList::moveDown);
    connect(add_, &QPushButton::clicked, this, &PathList::addDirectory);
    connect(del_, &QPushButton::clicked, this, &PathList::deleteDirectory);
    connect(ok, &QPushButton::clicked, this, &PathList::accept);
    connect(cancel, &QPushButton::clicked, this, &PathList::reject);

    chooseDirectory = [] {
        const QString dir = QFileDialog::getExistingDirectory(nullptr, QString(), QString());
        return dir.isEmpty() ? dir : QDir::toNativeSeparators(QDir(dir).absolutePath());
    };

    const std::vector<std::string> dirs =
        paths_.directoryList(sectionOf(listKind_), kKeptDirectories);
    for (std::size_t i = 0; i < dirs.size(); ++i) {
        if (i < static_cast<std::size_t>(kShownDirectories)) {
            list_->addTopLevelItem(new QTreeWidgetItem({QString::fromLocal8Bit(dirs[i].c_str())}));
        } else {
            beyondShown_.push_back(dirs[i]);
        }
    }
    list_->setCurrentItem(nullptr);
    list_->clearSelection();
}

int PathList::selectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void PathList::selectOnly(int row) {
    list_->clearSelection();
    QTreeWidgetItem* item = list_->topLevelItem(row);
    list_->setCurrentItem(item);
    item->setSelected(true);
}

void PathList::swapWithNext(int row) {
    QTreeWidgetItem* a = list_->topLevelItem(row);
    QTreeWidgetItem* b = list_->topLevelItem(row + 1);
    const QString first = rowText(a);
    a->setText(0, rowText(b));
    b->setText(0, first);
}

void PathList::moveUp() {
    const int row = selectedRow();
    if (row <= 0) {
        return;
    }
    swapWithNext(row - 1);
    selectOnly(row - 1);
}

void PathList::moveDown() {
    const int row = selectedRow();
    if (row < 0 || row >= list_->topLevelItemCount() - 1) {
        return;
    }
    swapWithNext(row);
    selectOnly(row + 1);
}

void PathList::addDirectory() {
    const QString dir = chooseDirectory ? chooseDirectory() : QString();
    if (dir.isEmpty()) {
        return;
    }
    list_->addTopLevelItem(new QTreeWidgetItem({dir}));
    selectOnly(list_->topLevelItemCount() - 1);
}

void PathList::deleteDirectory() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    delete list_->takeTopLevelItem(row);
    list_->clearSelection();
}

void PathList::accept() {
    std::vector<std::string> dirs;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        dirs.push_back(rowText(list_->topLevelItem(i)).toLocal8Bit().toStdString());
    }
    dirs.insert(dirs.end(), beyondShown_.begin(), beyondShown_.end());
    // Write errors are not reported: the lists are re-read at every lookup anyway.
    paths_.writeDirectoryList(sectionOf(listKind_), dirs);
    QDialog::accept();
}

QIcon PathList::arrowIcon(bool pointsUp) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    QPainterPath triangle;
    if (pointsUp) {
        triangle.moveTo(16, 4);
        triangle.lineTo(27, 20);
        triangle.lineTo(5, 20);
        painter.drawPath(triangle);
        painter.drawEllipse(QPoint(16, 26), 2, 2);
    } else {
        triangle.moveTo(5, 12);
        triangle.lineTo(27, 12);
        triangle.lineTo(16, 28);
        painter.drawPath(triangle);
        painter.drawEllipse(QPoint(16, 6), 2, 2);
    }
    return QIcon(pixmap);
}

}  // namespace slipway
