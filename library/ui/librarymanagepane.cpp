#include "library/ui/librarymanagepane.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "library/patchlibrary.h"
#include "library/ui/libraryservice.h"
#include "workspace/ui/userdialogs.h"

using orb8::library::Place;

namespace {

constexpr int kPathRole = Qt::UserRole + 1, kSlotRole = Qt::UserRole + 2;

QString PlaceText(const Place& place) {
    return LibraryManagePane::tr("%1  %2  (%3)")
        .arg(QString::fromStdString(orb8::library::SlotLabel(place.slot)), QString::fromStdString(place.name),
             QFileInfo(QString::fromStdString(place.path)).fileName());
}

QStandardItem* Item(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

}  // namespace

LibraryManagePane::LibraryManagePane(LibraryService& service, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), service_(service), dialogs_(dialogs) {
    setObjectName("LibraryManage");
    sources_ = new QStandardItemModel(this);
    problems_ = new QStandardItemModel(this);
    doubles_ = new QStandardItemModel(this);
    sourceList_ = new QListView(this);
    sourceList_->setObjectName("Sources");
    sourceList_->setModel(sources_);
    problemList_ = new QListView(this);
    problemList_->setObjectName("Problems");
    problemList_->setModel(problems_);
    doubleTree_ = new QTreeView(this);
    doubleTree_->setObjectName("Doubles");
    doubleTree_->setModel(doubles_);
    doubleTree_->setHeaderHidden(true);
    doubleTree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (QListView* list : {sourceList_, problemList_}) list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    addFileBtn_ = new QPushButton(tr("Add File..."), this);
    addFileBtn_->setObjectName("AddFileBtn");
    removeBtn_ = new QPushButton(tr("Remove"), this);
    removeBtn_->setObjectName("RemoveSourceBtn");
    removeBtn_->setToolTip(tr("The library no longer reads this folder or file; the files themselves stay"));

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("Read from:"), this));
    left->addWidget(sourceList_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addFileBtn_);
    buttons->addWidget(removeBtn_);
    buttons->addStretch(1);
    left->addLayout(buttons);
    left->addWidget(new QLabel(tr("Skipped files:"), this));
    left->addWidget(problemList_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("The same sound in several places, and one name for several sounds:"), this));
    right->addWidget(doubleTree_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    connect(addFileBtn_, &QPushButton::clicked, this, &LibraryManagePane::AddFile);
    connect(removeBtn_, &QPushButton::clicked, this, &LibraryManagePane::RemoveChosen);
    connect(doubleTree_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        const QString path = index.data(kPathRole).toString();
        if (!path.isEmpty()) emit OpenRequested(path.toUtf8(), index.data(kSlotRole).toInt());
    });
}

void LibraryManagePane::Refresh() {
    orb8::library::PatchLibrary* library = service_.Library();
    sources_->clear();
    problems_->clear();
    doubles_->clear();
    if (!library) return;
    try {
        for (const std::string& source : library->Sources()) sources_->appendRow(Item(QString::fromStdString(source)));
        for (const auto& [path, problem] : library->Problems())
            problems_->appendRow(Item(tr("%1: %2").arg(QFileInfo(QString::fromStdString(path)).fileName(),
                                                       QString::fromStdString(problem))));
        auto group = [&](const QString& title, const std::vector<Place>& places) {
            QStandardItem* top = Item(title);
            for (const Place& place : places) {
                QStandardItem* item = Item(PlaceText(place));
                item->setData(QString::fromStdString(place.path), kPathRole);
                item->setData(place.slot, kSlotRole);
                item->setToolTip(QString::fromStdString(place.path));
                top->appendRow(item);
            }
            doubles_->appendRow(top);
        };
        for (const auto& places : library->Duplicates())
            if (!places.empty())
                group(tr("%1: the same sound in %2 places").arg(QString::fromStdString(places.front().name)).arg(places.size()),
                      places);
        for (const auto& places : library->SameNameOtherSound())
            if (!places.empty())
                group(tr("%1: one name, %2 sounds").arg(QString::fromStdString(places.front().name)).arg(places.size()), places);
    } catch (const std::exception& e) {  // a scan writing, or the database failing: said, nothing lost
        emit StatusMessage(tr("The library could not be read just now: %1").arg(QString::fromUtf8(e.what())), true);
    }
    removeBtn_->setEnabled(sources_->rowCount() > 0);
}

void LibraryManagePane::AddFile() {
    const QString file = dialogs_.OpenFileName(this, tr("Banks and SysEx files (*.orb *.syx)"));
    if (file.isEmpty()) return;
    QString error;
    if (!service_.AddSource(file, error)) dialogs_.ShowError(this, tr("Library"), error);
}

void LibraryManagePane::RemoveChosen() {
    const QModelIndex chosen = sourceList_->currentIndex();
    if (!chosen.isValid()) {
        emit StatusMessage(tr("Choose the folder or file to remove first."), false);
        return;
    }
    const QString source = chosen.data().toString();
    if (!dialogs_.AskYesNo(this, tr("Library"),
                           tr("Stop reading %1?\nThe files stay where they are; your marks of their sounds stay in the "
                              "library.").arg(source)))
        return;
    QString error;
    if (!service_.RemoveSource(source, error)) {
        dialogs_.ShowError(this, tr("Library"), error);
        return;
    }
    Refresh();
    emit StatusMessage(tr("%1 is no longer read.").arg(source), false);
}
