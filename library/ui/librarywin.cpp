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
#include <QScrollBar>
#include <QSettings>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "library/patchlibrary.h"
#include "patch/fileio.h"
#include "patch/projectdocument.h"
#include "library/ui/libraryresultmodel.h"
#include "library/ui/librarymanagepane.h"
#include "library/ui/libraryservice.h"
#include "library/ui/processorhistorypane.h"
#include "library/ui/patchitemmodel.h"
#include "workspace/ui/userdialogs.h"

using orb8::library::Place;

namespace {

constexpr int kSearchDelayMs = 150;  // typing settles before the query runs
constexpr int kRetryMs = 300;        // a mark the database could not take yet is tried again this often
constexpr int kSimilarCount = 20;
constexpr int kPlacesShown = 250;  // a sound in every bank (the initial patch) has thousands
constexpr int kRowsMeasured = 100;  // columns fit the text of this many rows, not of all
constexpr const char* kSavedSearchesKey = "library/savedSearches";

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
    view->header()->setResizeContentsPrecision(kRowsMeasured);
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

TLibraryWin::TLibraryWin(LibraryService& service, UserDialogs& dialogs, QSettings* settings, QWidget* parent)
    : QWidget(parent, Qt::Window), service_(service), dialogs_(dialogs), settings_(settings) {
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
    SavedSearchList = new QComboBox(this);
    SavedSearchList->setObjectName("SavedSearchList");
    SavedSearchList->setToolTip(tr("Your saved searches: choose one to run it"));
    SavedSearchList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    SaveSearchBtn = new QPushButton(tr("Save Search..."), this);
    SaveSearchBtn->setObjectName("SaveSearchBtn");
    SaveSearchBtn->setToolTip(tr("Keep the search typed under a name of yours"));
    ForgetSearchBtn = new QPushButton(tr("Forget Search"), this);
    ForgetSearchBtn->setObjectName("ForgetSearchBtn");
    ForgetSearchBtn->setToolTip(tr("Remove the saved search chosen from the list"));
    auto* top = new QHBoxLayout;
    top->addWidget(SearchEdit, 1);
    top->addWidget(SavedSearchList);
    top->addWidget(SaveSearchBtn);
    top->addWidget(ForgetSearchBtn);
    top->addWidget(AddFolderBtn);
    top->addWidget(RescanBtn);

    model_ = new LibraryResultModel(service_, this);
    Results = new QTableView(this);
    Results->setObjectName("Results");
    Results->setModel(model_);
    // A header click orders the results by that column; a third click, as found.
    Results->horizontalHeader()->setSortIndicatorClearable(true);
    Results->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    Results->setSortingEnabled(true);
    Results->setSelectionBehavior(QAbstractItemView::SelectRows);
    Results->setSelectionMode(QAbstractItemView::ExtendedSelection);  // several for a new bank or a drag
    Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Results->verticalHeader()->hide();
    Results->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    Results->horizontalHeader()->setStretchLastSection(true);
    Results->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);

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
    processorHistory_ = new ProcessorHistoryPane(this);
    tabs->addTab(processorHistory_, tr("Processor History"));
    manage_ = new LibraryManagePane(service_, dialogs_, this);
    tabs->addTab(manage_, tr("Sources and Doubles"));
    connect(manage_, &LibraryManagePane::OpenRequested, this, &TLibraryWin::OpenPatchRequested);
    connect(manage_, &LibraryManagePane::StatusMessage, this, &TLibraryWin::ShowStatus);
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs] {
        if (tabs->currentWidget() == manage_) manage_->Refresh();
    });
    connect(processorHistory_, &ProcessorHistoryPane::OpenRequested, this, &TLibraryWin::OpenPatchRequested);

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
    TryBtn = new QPushButton(tr("Try on Processor"), this);
    TryBtn->setObjectName("TryBtn");
    TryBtn->setCheckable(true);
    TryBtn->setToolTip(tr("While pressed, the patch chosen in any list plays on the processor; no bank changes. "
                          "Esc, or leaving the window, plays the editor's patch again"));
    NewBankBtn = new QPushButton(tr("New Bank from Selection"), this);
    NewBankBtn->setObjectName("NewBankBtn");
    NewBankBtn->setToolTip(tr("A new bank of the results chosen (Shift and Ctrl choose several), in their order"));
    ExportBankBtn = new QPushButton(tr("Export as Bank..."), this);
    ExportBankBtn->setObjectName("ExportBankBtn");
    ExportBankBtn->setToolTip(tr("The results chosen, in their order, written as a bank file"));
    auto* actions = new QHBoxLayout;
    actions->addWidget(TryBtn);
    actions->addWidget(NewBankBtn);
    actions->addWidget(ExportBankBtn);
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
    Progress->setObjectName("Progress");
    Progress->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);  // the window does not widen
    Progress->setFormat(QStringLiteral("%v / %m"));
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

    retryLater_ = new QTimer(this);
    retryLater_->setInterval(kRetryMs);
    connect(retryLater_, &QTimer::timeout, this, &TLibraryWin::WritePending);
    // Undo and Redo reach the bank a patch was copied or dragged to; Esc closes.
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &TLibraryWin::UndoRequested);
    auto* redo = new QShortcut(QKeySequence::Redo, this);
    connect(redo, &QShortcut::activated, this, &TLibraryWin::RedoRequested);
    // Esc ends a try first, then closes.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (TryBtn->isChecked()) TryBtn->setChecked(false);
        else close();
    });
    connect(TryBtn, &QPushButton::toggled, this, [this](bool on) { on ? TryChosen() : EndTry(); });
    connect(NewBankBtn, &QPushButton::clicked, this, &TLibraryWin::NewBankFromSelection);
    connect(ExportBankBtn, &QPushButton::clicked, this, &TLibraryWin::ExportSelection);
    // A width the user drags stays; the header's own layout (the last
    // column stretching as the window shows) is no choice of the user's.
    connect(Results->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!fitting_ && QApplication::mouseButtons() != Qt::NoButton) userSized_ = true;
    });

    searchLater_ = new QTimer(this);
    searchLater_->setSingleShot(true);
    searchLater_->setInterval(kSearchDelayMs);
    connect(searchLater_, &QTimer::timeout, this, &TLibraryWin::Search);
    connect(SearchEdit, &QLineEdit::textChanged, searchLater_, qOverload<>(&QTimer::start));
    connect(SearchEdit, &QLineEdit::returnPressed, this, &TLibraryWin::Search);
    connect(Results->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TLibraryWin::ShowDetails);
    connect(model_, &QAbstractItemModel::modelReset, this, &TLibraryWin::ShowDetails);
    connect(model_, &LibraryResultModel::Answered, this, &TLibraryWin::ShowResults);
    connect(&service_, &LibraryService::DetailsRead, this, &TLibraryWin::DetailsRead);
    connect(SaveSearchBtn, &QPushButton::clicked, this, &TLibraryWin::SaveSearch);
    connect(ForgetSearchBtn, &QPushButton::clicked, this, &TLibraryWin::ForgetSearch);
    connect(SavedSearchList, &QComboBox::activated, this, &TLibraryWin::RunSavedSearch);
    connect(Results, &QTableView::activated, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
    connect(AddFolderBtn, &QPushButton::clicked, this, &TLibraryWin::AddFolder);
    connect(RescanBtn, &QPushButton::clicked, &service_, &LibraryService::Scan);
    connect(CancelBtn, &QPushButton::clicked, &service_, &LibraryService::CancelScan);
    connect(&service_, &LibraryService::ScanProgress, this, &TLibraryWin::ScanProgress);
    connect(&service_, &LibraryService::ScanFinished, this, &TLibraryWin::ScanFinished);
    connect(&service_, &LibraryService::SimilarFound, this, &TLibraryWin::ShowSimilar);
    // The marks go to the sound whose marks the fields show, even when the
    // chosen row has moved on meanwhile.
    connect(Favourite, &QCheckBox::toggled, this, [this](bool on) {
        if (!notesPatch_) return;
        const std::int64_t patch = notesPatch_;
        Write([patch, on](orb8::library::PatchLibrary& library) { library.SetFavourite(patch, on); });
        model_->FavouriteChanged(patch, on);
    });
    connect(Rating, &QComboBox::activated, this, [this](int rating) {
        if (!notesPatch_) return;
        const std::int64_t patch = notesPatch_;
        Write([patch, rating](orb8::library::PatchLibrary& library) { library.SetRating(patch, rating); });
    });
    connect(Tags, &QLineEdit::editingFinished, this, &TLibraryWin::SetTags);
    connect(Note, &QLineEdit::editingFinished, this, [this] {
        if (!notesPatch_ || !Note->isModified()) return;
        const std::int64_t patch = notesPatch_;
        Note->setModified(false);
        const std::string note = Note->text().toStdString();
        Write([patch, note](orb8::library::PatchLibrary& library) { library.SetNote(patch, note); });
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
    connect(&service_, &LibraryService::LibraryChanged, this, [this] {
        if (!service_.Scanning()) Refresh();
    });
    if (settings_) {
        std::vector<orb8::library::SavedSearch> kept;
        const int count = settings_->beginReadArray(kSavedSearchesKey);
        for (int i = 0; i < count; ++i) {
            settings_->setArrayIndex(i);
            kept.push_back({settings_->value("name").toString().toStdString(),
                            settings_->value("query").toString().toStdString()});
        }
        settings_->endArray();
        saved_ = orb8::library::SavedSearches(std::move(kept));
    }
    ShowSavedSearches();
    Search();
    ShowAccess();
}

// A library that can't be written (a read-only file, or one deleted or
// replaced by another program) keeps the marks from being changed, and says why.
void TLibraryWin::ShowAccess() {
    orb8::library::PatchLibrary* library = service_.Library();
    QString why;
    if (library && !library->ReadOnlyReason().empty())
        why = tr("The library is read-only (%1): marks can't be changed.").arg(QString::fromStdString(library->ReadOnlyReason()));
    else if (library && !library->StillThere())
        why = tr("The library's file was deleted or replaced by another program: close this window and open it again.");
    for (QWidget* w : std::initializer_list<QWidget*>{Favourite, Rating, Tags, Note, AddFolderBtn, RescanBtn}) {
        w->setToolTip(why);
        if (!why.isEmpty()) w->setEnabled(false);
    }
    if (!why.isEmpty()) ShowStatus(why, true);
}

// Compare and Copy act on a chosen patch; with none they wait.
void TLibraryWin::ShowActions() {
    const bool chosen = chosen_ && chosen_->currentIndex().isValid() && ChosenPatch().has_value();
    CompareBtn->setEnabled(chosen);
    CopyBtn->setEnabled(chosen);
}

// Columns as wide as the results need, until the user sets a width.
void TLibraryWin::FitColumns() {
    if (userSized_ || model_->rowCount() == 0) return;
    fitting_ = true;
    Results->resizeColumnsToContents();
    // The comments take the rest of the width again.
    Results->horizontalHeader()->setStretchLastSection(false);
    Results->horizontalHeader()->setStretchLastSection(true);
    fitting_ = false;
}

void TLibraryWin::Search() {
    searchLater_->stop();
    keepOccurrence_ = 0;
    keepScroll_ = -1;
    model_->SetQuery(SearchEdit->text());
}

// The same query read again; the chosen place and the scroll stay.
void TLibraryWin::Refresh() {
    const Place* before = model_->PlaceAt(Results->currentIndex().row());
    keepOccurrence_ = before ? before->occurrence : 0;
    keepScroll_ = Results->verticalScrollBar()->value();
    model_->Refresh();
}

// A query's first page arrived (or a refresh's rows).
void TLibraryWin::ShowResults(const QString& error) {
    const bool refreshed = keepScroll_ >= 0;
    if (!error.isEmpty())
        ShowStatus(error, true);
    else if (model_->rowCount() == 0 && model_->NoSources() && !scanFailed_)
        ShowStatus(tr("The library is empty: add the folders where your banks are (Add Folder...)."));
    else if (!refreshed)
        ShowStatus(model_->canFetchMore({}) ? tr("%1 patches shown, more as you scroll").arg(model_->rowCount())
                                            : tr("%1 patches").arg(model_->rowCount()));
    int row = 0;
    for (int i = 0; keepOccurrence_ && i < model_->rowCount(); ++i)
        if (model_->PlaceAt(i)->occurrence == keepOccurrence_) row = i;
    if (model_->rowCount() > 0) Results->setCurrentIndex(model_->index(row, 0));
    if (refreshed) Results->verticalScrollBar()->setValue(keepScroll_);
    keepOccurrence_ = 0;
    keepScroll_ = -1;
    FitColumns();
    ShowActions();
}

bool TLibraryWin::Scanning() const { return service_.Scanning(); }

bool TLibraryWin::Reading() const { return model_->Reading() || detailsRequest_ != 0; }

// The chosen result's details are read on the library's reading thread; they arrive by DetailsRead.
void TLibraryWin::ShowDetails() {
    for (PatchItemModel* m : {places_, history_, similar_}) m->Clear();
    similarRequest_ = 0;  // an answer still on its way is for another patch
    detailsRequest_ = 0;
    Choose(Results);
    const Place* current = model_->PlaceAt(Results->currentIndex().row());
    orb8::library::PatchLibrary* library = service_.Library();
    for (QWidget* w : std::initializer_list<QWidget*>{Favourite, Rating, Tags, Note}) w->setEnabled(current && library);
    ShowAccess();
    if (!current || !library) {
        ShowNotes(0, {});
        return;
    }
    detailsRequest_ = service_.ReadDetails(*current, kPlacesShown);
    similarRequest_ = service_.FindSimilar(current->patch, kSimilarCount);
}

void TLibraryWin::DetailsRead(int request, const orb8::library::PlaceDetails& details, const QString& error) {
    if (request != detailsRequest_) return;
    detailsRequest_ = 0;
    const Place* current = model_->PlaceAt(Results->currentIndex().row());
    if (!error.isEmpty()) ShowStatus(tr("The library could not be read: %1").arg(error), true);
    if (!error.isEmpty() || !current) return;
    const Place place = *current;
    ShowNotes(place.patch, details.notes);
    places_->Clear();
    history_->Clear();
    for (const auto& row : details.places) {
        const Place& p = row.place;
        const orb8::PatchClip clip{row.patch, p.comment};
        places_->AddPatch({QString::fromStdString(orb8::library::SlotLabel(p.slot)), QString::fromStdString(p.name),
                           QString::fromStdString(p.path), Date(p.firstSeen)},
                          PlaceLabel(p), [clip] { return std::optional(clip); }, p);
    }
    if (details.morePlaces > 0)
        places_->AddPatch({{}, tr("... and %1 more places").arg(details.morePlaces)}, {}, {});
    for (const auto& h : details.history) {
        const QString until = h.until ? Date(h.until) : tr("now");
        const orb8::PatchClip clip{h.data, h.comment};
        history_->AddPatch({Date(h.from), until, QString::fromStdString(h.name), QString::fromStdString(h.comment)},
                           tr("%1, until %2").arg(PlaceLabel({0, 0, place.path, place.slot, h.name, {}, 0, 0}), until),
                           [clip] { return std::optional(clip); });
    }
    for (QTreeView* view : {Places, History})
        for (int c = 0; c < 3; ++c) view->resizeColumnToContents(c);
}

void TLibraryWin::ShowSavedSearches() {
    const QSignalBlocker quiet(SavedSearchList);
    SavedSearchList->clear();
    SavedSearchList->addItem(saved_.All().empty() ? tr("No saved searches") : tr("Saved searches"));
    for (const auto& search : saved_.All())
        SavedSearchList->addItem(QString::fromStdString(search.name), QString::fromStdString(search.query));
    SavedSearchList->setEnabled(!saved_.All().empty());
    ForgetSearchBtn->setEnabled(false);
    if (settings_) {
        settings_->beginWriteArray(kSavedSearchesKey, static_cast<int>(saved_.All().size()));
        for (std::size_t i = 0; i < saved_.All().size(); ++i) {
            settings_->setArrayIndex(static_cast<int>(i));
            settings_->setValue("name", QString::fromStdString(saved_.All()[i].name));
            settings_->setValue("query", QString::fromStdString(saved_.All()[i].query));
        }
        settings_->endArray();
    }
}

void TLibraryWin::SaveSearch() {
    const QString query = SearchEdit->text().trimmed();
    if (query.isEmpty()) {
        ShowStatus(tr("Type a search first, then save it under a name."));
        return;
    }
    const QString name = dialogs_.AskText(this, tr("Save Search"), tr("Name of the search:"), query);
    if (name.trimmed().isEmpty()) return;
    saved_.Save(name.toStdString(), query.toStdString());
    ShowSavedSearches();
    ShowStatus(tr("Search \"%1\" saved.").arg(name.trimmed()));
}

void TLibraryWin::RunSavedSearch(int index) {
    const bool chosen = index > 0;
    ForgetSearchBtn->setEnabled(chosen);
    if (!chosen) return;
    SearchEdit->setText(SavedSearchList->itemData(index).toString());
    Search();
}

void TLibraryWin::ForgetSearch() {
    const int index = SavedSearchList->currentIndex();
    if (index <= 0) return;
    const QString name = SavedSearchList->itemText(index);
    saved_.Remove(name.toStdString());
    ShowSavedSearches();
    ShowStatus(tr("Search \"%1\" forgotten.").arg(name));
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

// The user's marks of a sound (0: none shown). What the user is typing into
// the fields for the same sound stays (a rescan shows the sound again).
void TLibraryWin::ShowNotes(std::int64_t patch, const orb8::library::PatchNotes& notes) {
    const bool same = patch != 0 && patch == notesPatch_;
    notesPatch_ = patch;
    if (same && !pending_.empty()) return;  // the marks shown are on their way to the database
    const QSignalBlocker quietFavourite(Favourite), quietRating(Rating);
    Favourite->setChecked(notes.favourite);
    Rating->setCurrentIndex(std::clamp(notes.rating, 0, orb8::library::kMaxRating));
    QStringList tags;
    for (const std::string& tag : notes.tags) tags << QString::fromStdString(tag);
    if (!(same && Tags->isModified())) {
        Tags->setText(tags.join(QStringLiteral(", ")));
        Tags->setModified(false);
    }
    if (!(same && Note->isModified())) {
        Note->setText(QString::fromStdString(notes.note));
        Note->setModified(false);
    }
}

void TLibraryWin::Write(const std::function<void(orb8::library::PatchLibrary&)>& write) {
    pending_.push_back(write);
    WritePending();
}

// The marks waiting, in order; what the database can't take yet waits for
// the scan's next pause.
void TLibraryWin::WritePending() {
    orb8::library::PatchLibrary* library = service_.Library();
    if (!library) return;
    while (!pending_.empty()) {
        try {
            pending_.front()(*library);
            pending_.erase(pending_.begin());
        } catch (const orb8::library::LibraryError& e) {
            // Refused for good (read-only, deleted): said, and nothing more is tried.
            pending_.clear();
            retryLater_->stop();
            ShowStatus(QString::fromStdString(e.what()), true);
            return;
        } catch (const std::exception&) {
            if (!retryLater_->isActive()) retryLater_->start();
            ShowStatus(tr("Your change is kept and will be stored as soon as the scan lets it."));
            return;
        }
    }
    if (retryLater_->isActive()) {
        retryLater_->stop();
        ShowStatus(tr("Your changes are stored."));
    }
}

void TLibraryWin::SetTags() {
    if (!notesPatch_ || !Tags->isModified()) return;
    Tags->setModified(false);
    const std::int64_t patch = notesPatch_;
    const QStringList wanted = TagList(Tags->text());
    Write([patch, wanted](orb8::library::PatchLibrary& library) {
        QStringList had;
        for (const std::string& tag : library.NotesOf(patch).tags) had << QString::fromStdString(tag);
        for (const QString& tag : had)
            if (!wanted.contains(tag)) library.RemoveTag(patch, tag.toStdString());
        for (const QString& tag : wanted)
            if (!had.contains(tag)) library.AddTag(patch, tag.toStdString());
    });
    if (pending_.empty()) {
        // Shown again as the library keeps them (sorted, folded).
        if (const Place* current = model_->PlaceAt(Results->currentIndex().row()); current && current->patch == patch)
            detailsRequest_ = service_.ReadDetails(*current, kPlacesShown);
        ShowStatus(tr("Tags kept."));
    }
}

void TLibraryWin::Choose(QAbstractItemView* view) {
    chosen_ = view;
    ShowActions();
    if (TryBtn->isChecked()) TryChosen();
}

// The chosen results in their order; a bank holds the first kPatchCount.
std::vector<orb8::PatchClip> TLibraryWin::ChosenResults(int& left) const {
    QModelIndexList chosen = Results->selectionModel()->selectedRows();
    std::sort(chosen.begin(), chosen.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<orb8::PatchClip> clips;
    for (const QModelIndex& index : chosen)
        if (const auto clip = model_->ClipAt(index.row())) clips.push_back(*clip);
    left = std::max(0, static_cast<int>(clips.size()) - orb8::kPatchCount);
    if (left > 0) clips.resize(orb8::kPatchCount);
    return clips;
}

// The chosen results as a bank file of their own (the rest of it empty
// patches); the frame asks for the name and writes it.
void TLibraryWin::ExportSelection() {
    int left = 0;
    const auto clips = ChosenResults(left);
    if (clips.empty()) {
        ShowStatus(tr("Choose the results to export first (Shift and Ctrl choose several)."));
        return;
    }
    emit ExportBankRequested(clips, left);
}

void TLibraryWin::ShowExported(const QString& path, int count, int left) {
    ShowStatus(left > 0 ? tr("%1 patches written to %2; %3 more did not fit in a bank.").arg(count).arg(path).arg(left)
                        : tr("%1 patches written to %2.").arg(count).arg(path));
}

void TLibraryWin::NewBankFromSelection() {
    int left = 0;
    const auto clips = ChosenResults(left);
    if (clips.empty()) {
        ShowStatus(tr("Choose the results for the new bank first (Shift and Ctrl choose several)."));
        return;
    }
    emit NewBankRequested(clips);
    ShowStatus(left > 0 ? tr("A new bank of the first %1 results chosen; %2 more did not fit.").arg(orb8::kPatchCount).arg(left)
                        : tr("A new bank of the %1 results chosen.").arg(clips.size()));
}

void TLibraryWin::TryChosen() {
    const auto clip = ChosenPatch();
    if (!clip) {
        ShowStatus(tr("Choose a patch in any list to play it on the processor."));
        return;
    }
    const QString label = LabelIn(chosen_, chosen_->currentIndex().row());
    emit TryRequested(clip->patch, label);
    ShowStatus(tr("The processor plays %1; Esc plays the editor's patch again.").arg(label));
}

void TLibraryWin::EndTry() {
    emit TryEnded();
    ShowStatus(tr("The processor plays the editor's patch again."));
}

// Leaving the window ends a try.
void TLibraryWin::hideEvent(QHideEvent* event) {
    if (TryBtn->isChecked()) TryBtn->setChecked(false);
    QWidget::hideEvent(event);
}

void TLibraryWin::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && TryBtn->isChecked() &&
        !QApplication::activeModalWidget())
        TryBtn->setChecked(false);
    QWidget::changeEvent(event);
}

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

// The scan's progress is in its bar (the file in its tooltip): the status line
// keeps what it says to the user.
void TLibraryWin::ScanProgress(int done, int total, const QString& path) {
    Progress->setRange(0, total);
    Progress->setValue(done);
    Progress->setToolTip(QFileInfo(path).fileName());
    Progress->show();
    CancelBtn->show();
}

void TLibraryWin::ScanFinished(const QString& summary, bool failed) {
    Progress->hide();
    CancelBtn->hide();
    if (manage_->isVisible()) manage_->Refresh();
    // What waited for the scan goes in first, before the results are read again.
    const bool waited = !pending_.empty();
    WritePending();
    const bool stored = waited && pending_.empty();
    // The results are read again; the patch the user was looking at stays
    // chosen, the list where it was, and what the user is typing as it is.
    scanFailed_ = failed;
    Refresh();
    if (pending_.empty()) ShowStatus(stored ? summary + "\n" + tr("Your changes are stored.") : summary, failed);
    ShowAccess();
}

void TLibraryWin::ShowStatus(const QString& text, bool error) {
    Status->setText(text);
    Status->setStyleSheet(error ? "color: #b00000" : QString());
}
