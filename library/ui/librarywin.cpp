#include "library/ui/librarywin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "library/patchlibrary.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/libraryservice.h"
#include "library/ui/patchitemmodel.h"
#include "workspace/ui/userdialogs.h"

using orb8::library::Place;

namespace {

constexpr int kSearchDelayMs = 150;  // typing settles before the query runs
constexpr int kSimilarCount = 20;
constexpr std::size_t kPlacesShown = 1000;  // a sound in every bank (the initial patch) has thousands

// A list whose patches can be dragged onto a bank's row.
void DragsPatches(QAbstractItemView* view) {
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDefaultDropAction(Qt::CopyAction);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
}

QTreeView* DetailView(PatchItemModel* model, const char* name, QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformRowHeights(true);
    DragsPatches(view);
    return view;
}

QString PlaceLabel(const Place& place) {
    return QStringLiteral("%1 (%2 %3)")
        .arg(QString::fromStdString(place.name).trimmed(), QFileInfo(QString::fromStdString(place.path)).fileName(),
             QString::fromStdString(orb8::library::SlotLabel(place.slot)));
}

QString Date(std::int64_t seconds) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

// Tags as the user types them: separated by commas, without blanks around them.
QStringList TagList(const QString& text) {
    QStringList tags;
    for (const QString& part : text.split(',')) {
        const QString tag = part.trimmed();
        if (!tag.isEmpty() && !tags.contains(tag)) tags << tag;
    }
    return tags;
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

    DragsPatches(Results);

    places_ = new PatchItemModel({tr("No"), tr("NAME"), tr("BANK"), tr("Since")}, this);
    history_ = new PatchItemModel({tr("From"), tr("Until"), tr("NAME"), tr("COMMENT")}, this);
    similar_ = new PatchItemModel({tr("Distance"), tr("No"), tr("NAME"), tr("BANK")}, this);
    Places = DetailView(places_, "Places", this);
    History = DetailView(history_, "History", this);
    Similar = DetailView(similar_, "Similar", this);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(Places, tr("Where It Occurs"));
    tabs->addTab(History, tr("History of the Slot"));
    tabs->addTab(Similar, tr("Similar Patches"));

    Favourite = new QCheckBox(tr("Favourite"), this);
    Favourite->setObjectName("Favourite");
    Rating = new QComboBox(this);
    Rating->setObjectName("Rating");
    Rating->addItem(tr("No rating"));
    for (int stars = 1; stars <= orb8::library::kMaxRating; ++stars) Rating->addItem(QString(stars, QChar(0x2605)));
    Tags = new QLineEdit(this);
    Tags->setObjectName("Tags");
    Tags->setPlaceholderText(tr("Tags, separated by commas"));
    Note = new QLineEdit(this);
    Note->setObjectName("Note");
    Note->setPlaceholderText(tr("A note of your own"));
    CompareBtn = new QPushButton(tr("Compare with Current"), this);
    CompareBtn->setObjectName("CompareBtn");
    CompareBtn->setToolTip(tr("The patch last chosen in any list against the patch in the editor, in the Differences window"));
    CopyBtn = new QPushButton(tr("Copy to Current Patch"), this);
    CopyBtn->setObjectName("CopyBtn");
    CopyBtn->setToolTip(tr("The patch last chosen in any list over the current patch of the active bank (Undo takes it back)"));
    auto* marks = new QHBoxLayout;
    marks->addWidget(Favourite);
    marks->addWidget(Rating);
    marks->addWidget(new QLabel(tr("Tags:"), this));
    marks->addWidget(Tags, 1);
    marks->addWidget(new QLabel(tr("Note:"), this));
    marks->addWidget(Note, 2);
    auto* actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(CompareBtn);
    actions->addWidget(CopyBtn);
    auto* details = new QWidget(this);
    auto* detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->addLayout(marks);
    detailsLayout->addWidget(tabs);
    detailsLayout->addLayout(actions);
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
    connect(&service_, &LibraryService::SimilarFound, this, &TLibraryWin::ShowSimilar);
    connect(Favourite, &QCheckBox::toggled, this, [this](bool on) {
        const Place* place = model_->PlaceAt(Results->currentIndex().row());
        if (!place) return;
        const std::int64_t patch = place->patch;
        if (Write([&] { service_.Library()->SetFavourite(patch, on); })) model_->FavouriteChanged(patch, on);
        else ShowNotes(patch);
    });
    connect(Rating, &QComboBox::activated, this, [this](int rating) {
        if (const Place* place = model_->PlaceAt(Results->currentIndex().row())) {
            const std::int64_t patch = place->patch;
            if (!Write([&] { service_.Library()->SetRating(patch, rating); })) ShowNotes(patch);
        }
    });
    connect(Tags, &QLineEdit::editingFinished, this, &TLibraryWin::SetTags);
    connect(Note, &QLineEdit::editingFinished, this, [this] {
        const Place* place = model_->PlaceAt(Results->currentIndex().row());
        if (!place || !Note->isModified()) return;
        const std::int64_t patch = place->patch;
        Note->setModified(false);
        if (!Write([&] { service_.Library()->SetNote(patch, Note->text().toStdString()); })) ShowNotes(patch);
    });
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{Results, Places, History, Similar}) {
        connect(view, &QAbstractItemView::pressed, this, [this, view] { Choose(view); });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) { ContextMenu(view, at); });
    }
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{Places, History, Similar})
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this, view](const QModelIndex& i) {
            if (i.isValid()) Choose(view);
        });
    connect(Places, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { OpenIn(Places, i.row()); });
    connect(Similar, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { OpenIn(Similar, i.row()); });
    connect(History, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { Compare(History, i.row()); });
    connect(CompareBtn, &QPushButton::clicked, this, [this] {
        if (chosen_) Compare(chosen_, chosen_->currentIndex().row());
    });
    connect(CopyBtn, &QPushButton::clicked, this, [this] {
        if (chosen_) Copy(chosen_, chosen_->currentIndex().row());
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
    for (PatchItemModel* m : {places_, history_, similar_}) m->Clear();
    similarRequest_ = 0;  // an answer still on its way is for another patch
    Choose(Results);
    const Place* current = model_->PlaceAt(Results->currentIndex().row());
    orb8::library::PatchLibrary* library = service_.Library();
    for (QWidget* w : std::initializer_list<QWidget*>{Favourite, Rating, Tags, Note}) w->setEnabled(current && library);
    if (!current || !library) {
        ShowNotes(0);
        return;
    }
    const Place place = *current;
    try {
        ShowNotes(place.patch);
        const std::vector<Place> places = library->PlacesOf(place.patch);
        for (std::size_t i = 0; i < places.size() && i < kPlacesShown; ++i) {
            const Place& p = places[i];
            places_->AddPatch({QString::fromStdString(orb8::library::SlotLabel(p.slot)), QString::fromStdString(p.name),
                               QString::fromStdString(p.path), Date(p.firstSeen)},
                              PlaceLabel(p), ClipSourceOf(p), p);
        }
        if (places.size() > kPlacesShown)
            places_->AddPatch({{}, tr("... and %1 more places").arg(places.size() - kPlacesShown)}, {}, {});
        for (const auto& h : library->History(place.path, place.slot)) {
            const QString until = h.until ? Date(h.until) : tr("now");
            const orb8::PatchClip clip{h.data, h.comment};
            history_->AddPatch({Date(h.from), until, QString::fromStdString(h.name), QString::fromStdString(h.comment)},
                               tr("%1, until %2").arg(PlaceLabel({0, 0, place.path, place.slot, h.name, {}, 0, 0}), until),
                               [clip] { return std::optional(clip); });
        }
    } catch (const std::exception& e) {
        ShowStatus(tr("The library could not be read: %1").arg(e.what()), true);
    }
    for (QTreeView* view : {Places, History})
        for (int c = 0; c < 3; ++c) view->resizeColumnToContents(c);
    // Similar sounds are looked for on a thread of the library's; they arrive by ShowSimilar.
    similarRequest_ = service_.FindSimilar(place.patch, kSimilarCount);
}

void TLibraryWin::ShowSimilar(int request, const std::vector<orb8::library::SimilarPatch>& found, const QString& error) {
    if (request != similarRequest_) return;
    similar_->Clear();
    orb8::library::PatchLibrary* library = service_.Library();
    if (!error.isEmpty()) ShowStatus(tr("Similar patches could not be found: %1").arg(error), true);
    if (!library) return;
    for (const auto& similar : found) {
        const Place p = similar.place;
        similar_->AddPatch({QString::number(similar.distance, 'f', 3), QString::fromStdString(orb8::library::SlotLabel(p.slot)),
                            QString::fromStdString(p.name), QString::fromStdString(p.path)},
                           PlaceLabel(p), ClipSourceOf(p), p);
    }
    for (int c = 0; c < 3; ++c) Similar->resizeColumnToContents(c);
}

// A place's patch is read when it is used; a scan may have taken it away by then.
PatchItemModel::ClipSource TLibraryWin::ClipSourceOf(const Place& p) {
    return [this, p]() -> std::optional<orb8::PatchClip> {
        orb8::library::PatchLibrary* library = service_.Library();
        if (!library) return std::nullopt;
        try {
            return orb8::PatchClip{library->PatchAt(p), p.comment};
        } catch (const std::exception& e) {
            ShowStatus(QString::fromStdString(e.what()), true);
            return std::nullopt;
        }
    };
}

// The user's marks of a sound (0: none shown).
void TLibraryWin::ShowNotes(std::int64_t patch) {
    orb8::library::PatchNotes notes;
    if (patch != 0 && service_.Library()) {
        try {
            notes = service_.Library()->NotesOf(patch);
        } catch (const std::exception& e) {
            ShowStatus(tr("The library could not be read: %1").arg(e.what()), true);
        }
    }
    const QSignalBlocker quietFavourite(Favourite), quietRating(Rating);
    Favourite->setChecked(notes.favourite);
    Rating->setCurrentIndex(std::clamp(notes.rating, 0, orb8::library::kMaxRating));
    QStringList tags;
    for (const std::string& tag : notes.tags) tags << QString::fromStdString(tag);
    Tags->setText(tags.join(QStringLiteral(", ")));
    Tags->setModified(false);
    Note->setText(QString::fromStdString(notes.note));
    Note->setModified(false);
}

// A write to the library; false, with the reason shown, when it failed.
bool TLibraryWin::Write(const std::function<void()>& write) {
    if (!service_.Library()) return false;
    try {
        write();
        return true;
    } catch (const std::exception& e) {
        // The scan's thread may hold the database longer than a write waits.
        ShowStatus(tr("The change could not be kept (%1); try again when the scan is done.").arg(e.what()), true);
        return false;
    }
}

void TLibraryWin::SetTags() {
    const Place* place = model_->PlaceAt(Results->currentIndex().row());
    if (!place || !Tags->isModified()) return;
    Tags->setModified(false);
    const std::int64_t patch = place->patch;
    const bool written = Write([&] {
        const QStringList wanted = TagList(Tags->text());
        QStringList had;
        for (const std::string& tag : service_.Library()->NotesOf(patch).tags) had << QString::fromStdString(tag);
        for (const QString& tag : had)
            if (!wanted.contains(tag)) service_.Library()->RemoveTag(patch, tag.toStdString());
        for (const QString& tag : wanted)
            if (!had.contains(tag)) service_.Library()->AddTag(patch, tag.toStdString());
    });
    ShowNotes(patch);  // as the library keeps them (sorted, folded)
    if (written) ShowStatus(tr("Tags kept."));
}

void TLibraryWin::Choose(QAbstractItemView* view) { chosen_ = view; }

std::optional<orb8::PatchClip> TLibraryWin::ChosenPatch() const {
    return chosen_ ? ClipIn(chosen_, chosen_->currentIndex().row()) : std::nullopt;
}

std::optional<orb8::PatchClip> TLibraryWin::ClipIn(QAbstractItemView* view, int row) const {
    if (view == Results) return model_->ClipAt(row);
    return static_cast<PatchItemModel*>(view->model())->ClipAt(row);
}

QString TLibraryWin::LabelIn(QAbstractItemView* view, int row) const {
    if (view == Results) {
        const Place* place = model_->PlaceAt(row);
        return place ? PlaceLabel(*place) : QString();
    }
    return static_cast<PatchItemModel*>(view->model())->LabelAt(row);
}

void TLibraryWin::OpenIn(QAbstractItemView* view, int row) {
    if (view == Results) {
        OpenRow(row);
        return;
    }
    const Place* place = static_cast<PatchItemModel*>(view->model())->PlaceAt(row);
    if (place && place->slot >= 0) emit OpenPatchRequested(QByteArray::fromStdString(place->path), place->slot);
}

void TLibraryWin::Compare(QAbstractItemView* view, int row) {
    if (const auto clip = ClipIn(view, row)) emit CompareRequested(*clip, LabelIn(view, row));
}

void TLibraryWin::Copy(QAbstractItemView* view, int row) {
    if (const auto clip = ClipIn(view, row)) emit CopyRequested(*clip);
}

void TLibraryWin::ContextMenu(QAbstractItemView* view, const QPoint& at) {
    const QModelIndex index = view->indexAt(at);
    if (!index.isValid()) return;
    view->setCurrentIndex(index);
    Choose(view);
    const int row = index.row();
    const Place* place = view == Results ? model_->PlaceAt(row) : static_cast<PatchItemModel*>(view->model())->PlaceAt(row);
    QMenu menu(this);
    if (place && place->slot >= 0) menu.addAction(tr("Open Bank at This Patch"), this, [this, view, row] { OpenIn(view, row); });
    menu.addAction(tr("Compare with Current"), this, [this, view, row] { Compare(view, row); });
    menu.addAction(tr("Copy to Current Patch"), this, [this, view, row] { Copy(view, row); });
    menu.addAction(tr("Use in Sound Design"), this, [this, view, row] {
        if (const auto clip = ClipIn(view, row)) emit SoundDesignRequested(*clip, LabelIn(view, row));
    });
    menu.exec(view->viewport()->mapToGlobal(at));
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
    emit OpenPatchRequested(QByteArray::fromStdString(place->path), place->slot);
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
    // The results are read again; the patch the user was looking at stays chosen.
    const Place* before = model_->PlaceAt(Results->currentIndex().row());
    const std::int64_t kept = before ? before->occurrence : 0;
    model_->Refresh();
    int row = 0;
    for (int i = 0; i < model_->rowCount(); ++i)
        if (model_->PlaceAt(i)->occurrence == kept) row = i;
    if (model_->rowCount() > 0) Results->setCurrentIndex(model_->index(row, 0));
    ShowStatus(summary, failed);
}

void TLibraryWin::ShowStatus(const QString& text, bool error) {
    Status->setText(text);
    Status->setStyleSheet(error ? "color: #b00000" : QString());
}
