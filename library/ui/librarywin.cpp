#include "library/ui/librarywin.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "library/patchlibrary.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/libraryservice.h"
#include "workspace/ui/userdialogs.h"

using orb8::library::Place;

namespace {

constexpr int kSearchDelayMs = 150;  // typing settles before the query runs
constexpr int kSimilarCount = 20;

QTreeView* DetailView(QStandardItemModel* model, QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformRowHeights(true);
    return view;
}

QString Date(std::int64_t seconds) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

QList<QStandardItem*> Items(const QStringList& texts) {
    QList<QStandardItem*> items;
    for (const QString& text : texts) items << new QStandardItem(text);
    return items;
}

}  // namespace

TLibraryWin::TLibraryWin(LibraryService& service, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), service_(service), dialogs_(dialogs) {
    setObjectName("LibraryWin");
    setWindowTitle(tr("Library"));
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName("SearchEdit");
    SearchEdit->setPlaceholderText(tr("Words, drive:fuzz, mod:on, gain>=20, fav, tag:live, in:folder"));
    SearchEdit->setClearButtonEnabled(true);
    AddFolderBtn = new QPushButton(tr("Add Folder..."), this);
    AddFolderBtn->setObjectName("AddFolderBtn");
    RescanBtn = new QPushButton(tr("Rescan"), this);
    RescanBtn->setObjectName("RescanBtn");
    auto* top = new QHBoxLayout;
    top->addWidget(SearchEdit, 1);
    top->addWidget(AddFolderBtn);
    top->addWidget(RescanBtn);

    model_ = new LibraryResultModel(this);
    model_->SetLibrary(service_.Library());
    Results = new QTableView(this);
    Results->setObjectName("Results");
    Results->setModel(model_);
    Results->setSelectionBehavior(QAbstractItemView::SelectRows);
    Results->setSelectionMode(QAbstractItemView::SingleSelection);
    Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Results->verticalHeader()->hide();
    Results->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    Results->horizontalHeader()->setStretchLastSection(true);

    places_ = new QStandardItemModel(0, 4, this);
    places_->setHorizontalHeaderLabels({tr("No"), tr("NAME"), tr("BANK"), tr("Since")});
    history_ = new QStandardItemModel(0, 4, this);
    history_->setHorizontalHeaderLabels({tr("From"), tr("Until"), tr("NAME"), tr("COMMENT")});
    similar_ = new QStandardItemModel(0, 4, this);
    similar_->setHorizontalHeaderLabels({tr("Distance"), tr("No"), tr("NAME"), tr("BANK")});
    Places = DetailView(places_, this);
    History = DetailView(history_, this);
    Similar = DetailView(similar_, this);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(Places, tr("Where It Occurs"));
    tabs->addTab(History, tr("History of the Slot"));
    tabs->addTab(Similar, tr("Similar Patches"));
    Favourite = new QCheckBox(tr("Favourite"), this);
    Favourite->setObjectName("Favourite");
    Favourite->setEnabled(false);
    auto* details = new QWidget(this);
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->addWidget(Favourite);
    detailsLayout->addWidget(tabs);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Results);
    split->addWidget(details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    Status = new QLabel(this);
    Status->setObjectName("Status");
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Progress = new QProgressBar(this);
    Progress->hide();
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->hide();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Status, 1);
    bottom->addWidget(Progress);
    bottom->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    resize(900, 640);

    searchLater_ = new QTimer(this);
    searchLater_->setSingleShot(true);
    searchLater_->setInterval(kSearchDelayMs);
    connect(searchLater_, &QTimer::timeout, this, &TLibraryWin::Search);
    connect(SearchEdit, &QLineEdit::textChanged, searchLater_, qOverload<>(&QTimer::start));
    connect(SearchEdit, &QLineEdit::returnPressed, this, &TLibraryWin::Search);
    connect(Results->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TLibraryWin::ShowDetails);
    connect(model_, &QAbstractItemModel::modelReset, this, &TLibraryWin::ShowDetails);
    connect(Results, &QTableView::activated, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
    connect(AddFolderBtn, &QPushButton::clicked, this, &TLibraryWin::AddFolder);
    connect(RescanBtn, &QPushButton::clicked, &service_, &LibraryService::Scan);
    connect(CancelBtn, &QPushButton::clicked, &service_, &LibraryService::CancelScan);
    connect(&service_, &LibraryService::ScanProgress, this, &TLibraryWin::ScanProgress);
    connect(&service_, &LibraryService::ScanFinished, this, &TLibraryWin::ScanFinished);
    connect(Favourite, &QCheckBox::toggled, this, [this](bool on) {
        const Place* place = model_->PlaceAt(Results->currentIndex().row());
        if (!place || !service_.Library()) return;
        try {
            service_.Library()->SetFavourite(place->patch, on);
            model_->FavouriteChanged(place->patch, on);
        } catch (const std::exception& e) {
            // The scan's thread holds the database longer than a write waits.
            const QSignalBlocker quiet(Favourite);
            Favourite->setChecked(!on);
            ShowStatus(tr("The mark could not be kept (%1); try again when the scan is done.").arg(e.what()), true);
        }
    });
    Search();
}

void TLibraryWin::Search() {
    searchLater_->stop();
    QString error;
    if (!model_->SetQuery(SearchEdit->text(), error)) ShowStatus(error, true);
    else if (model_->rowCount() == 0 && service_.Library() && service_.Library()->Sources().empty())
        ShowStatus(tr("The library is empty: add the folders where your banks are (Add Folder...)."));
    else ShowStatus(model_->canFetchMore({}) ? tr("%1 patches shown, more as you scroll").arg(model_->rowCount())
                                             : tr("%1 patches").arg(model_->rowCount()));
    if (model_->rowCount() > 0) Results->setCurrentIndex(model_->index(0, 0));
    if (!sized_ && model_->rowCount() > 0) {
        // Columns as wide as the first results need; the user's widths stay after.
        Results->resizeColumnsToContents();
        sized_ = true;
    }
}

void TLibraryWin::ShowDetails() {
    places_->removeRows(0, places_->rowCount());
    history_->removeRows(0, history_->rowCount());
    similar_->removeRows(0, similar_->rowCount());
    const Place* place = model_->PlaceAt(Results->currentIndex().row());
    orb8::library::PatchLibrary* library = service_.Library();
    Favourite->setEnabled(place && library);
    if (!place || !library) return;
    try {
        {
            const QSignalBlocker quiet(Favourite);
            Favourite->setChecked(library->NotesOf(place->patch).favourite);
        }
        for (const Place& p : library->PlacesOf(place->patch))
            places_->appendRow(Items({QString::fromStdString(orb8::library::SlotLabel(p.slot)), QString::fromStdString(p.name),
                                      QString::fromStdString(p.path), Date(p.firstSeen)}));
        for (const auto& h : library->History(place->path, place->slot))
            history_->appendRow(Items({Date(h.from), h.until ? Date(h.until) : tr("now"), QString::fromStdString(h.name),
                                       QString::fromStdString(h.comment)}));
        for (const auto& s : library->Similar(place->patch, kSimilarCount))
            similar_->appendRow(Items({QString::number(s.distance, 'f', 3),
                                       QString::fromStdString(orb8::library::SlotLabel(s.place.slot)),
                                       QString::fromStdString(s.place.name), QString::fromStdString(s.place.path)}));
    } catch (const std::exception& e) {
        ShowStatus(tr("The library could not be read: %1").arg(e.what()), true);
    }
    for (QTreeView* view : {Places, History, Similar})
        for (int c = 0; c < 3; ++c) view->resizeColumnToContents(c);
}

void TLibraryWin::AddFolder() {
    const QString folder = dialogs_.FolderName(this, tr("Add a Folder of Banks"));
    if (folder.isEmpty()) return;
    QString error;
    if (!service_.AddSource(folder, error)) dialogs_.ShowError(this, tr("Library"), error);
}

void TLibraryWin::OpenRow(int row) {
    const Place* place = model_->PlaceAt(row);
    if (!place || place->slot < 0) return;  // an edit buffer of a SysEx file has no bank to open
    emit OpenPatchRequested(QString::fromStdString(place->path), place->slot);
}

void TLibraryWin::ScanProgress(int done, int total, const QString& path) {
    Progress->setRange(0, total);
    Progress->setValue(done);
    Progress->show();
    CancelBtn->show();
    ShowStatus(QFileInfo(path).fileName());
}

void TLibraryWin::ScanFinished(const QString& summary, bool failed) {
    Progress->hide();
    CancelBtn->hide();
    model_->Refresh();
    ShowStatus(summary, failed);
}

void TLibraryWin::ShowStatus(const QString& text, bool error) {
    Status->setText(text);
    Status->setStyleSheet(error ? "color: #b00000" : QString());
}
