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
constexpr std::size_t kGroupsShown = 2000;

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

    connect(&service_, &LibraryService::OverviewRead, this, &LibraryManagePane::Show);
    connect(addFileBtn_, &QPushButton::clicked, this, &LibraryManagePane::AddFile);
    connect(removeBtn_, &QPushButton::clicked, this, &LibraryManagePane::RemoveChosen);
    connect(doubleTree_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        const QString path = index.data(kPathRole).toString();
        if (!path.isEmpty()) emit OpenRequested(path.toUtf8(), index.data(kSlotRole).toInt());
    });
}

void LibraryManagePane::Refresh() {
    if (!service_.Library()) return;
    request_ = service_.ReadOverview();
}

void LibraryManagePane::Show(int request, const LibraryOverview& overview, const QString& error) {
    if (request != request_) return;
    request_ = 0;
    if (!error.isEmpty()) {  // a scan writing, or the database failing: said, nothing lost
        emit StatusMessage(tr("The library could not be read just now: %1").arg(error), true);
        return;
    }
    sources_->clear();
    problems_->clear();
    doubles_->clear();
    for (const std::string& source : overview.sources) sources_->appendRow(Item(QString::fromStdString(source)));
    for (const auto& [path, problem] : overview.problems)
        problems_->appendRow(Item(tr("%1: %2").arg(QFileInfo(QString::fromStdString(path)).fileName(),
                                                   QString::fromStdString(problem))));
    // A big library has many doubles: the first of them, and how many more.
    auto groups = [&](const std::vector<std::vector<Place>>& all, const auto& title) {
        std::size_t shown = 0;
        for (const auto& places : all) {
            if (places.empty()) continue;
            if (shown++ == kGroupsShown) {
                doubles_->appendRow(Item(tr("... and %1 more").arg(all.size() - kGroupsShown)));
                return;
            }
            QStandardItem* top = Item(title(places));
            for (const Place& place : places) {
                QStandardItem* item = Item(PlaceText(place));
                item->setData(QString::fromStdString(place.path), kPathRole);
                item->setData(place.slot, kSlotRole);
                item->setToolTip(QString::fromStdString(place.path));
                top->appendRow(item);
            }
            doubles_->appendRow(top);
        }
    };
    groups(overview.duplicates, [this](const std::vector<Place>& places) {
        return tr("%1: the same sound in %2 places").arg(QString::fromStdString(places.front().name)).arg(places.size());
    });
    groups(overview.sameName, [this](const std::vector<Place>& places) {
        return tr("%1: one name, %2 sounds").arg(QString::fromStdString(places.front().name)).arg(places.size());
    });
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
