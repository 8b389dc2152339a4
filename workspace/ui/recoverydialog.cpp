#include "workspace/ui/recoverydialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "workspace/documentrules.h"

RecoveryDialog::RecoveryDialog(const QList<RecoveryOffer>& offers, QWidget* parent) : QDialog(parent) {
    setObjectName("RecoveryDialog");
    setWindowTitle(QString::fromUtf8(orb8::kShortTitle));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(tr("%1 did not end normally. Unsaved work was kept of these documents:")
                                .arg(QString::fromUtf8(orb8::kShortTitle)),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* model = new QStandardItemModel(0, 3, this);
    model_ = model;
    model->setHorizontalHeaderLabels({tr("Document"), tr("Last change"), tr("File")});
    for (const RecoveryOffer& offer : offers) {
        QList<QStandardItem*> row;
        // Each document is chosen on its own: Recover or Discard acts on the ticked ones.
        auto* name = new QStandardItem(offer.name);
        name->setCheckable(true);
        name->setCheckState(offer.chosen ? Qt::Checked : Qt::Unchecked);
        name->setToolTip(offer.name);
        row << name;
        row << new QStandardItem(offer.changed.isValid() ? QLocale().toString(offer.changed.toLocalTime(), QLocale::ShortFormat)
                                                         : QString());
        row << new QStandardItem(offer.problem.isEmpty() ? (offer.fileName.isEmpty() ? tr("(never saved)") : offer.fileName)
                                                         : tr("Cannot be recovered: %1").arg(offer.problem));
        row.back()->setToolTip(row.back()->text());
        for (QStandardItem* item : row) item->setEditable(false);
        model->appendRow(row);
    }
    connect(model, &QStandardItemModel::itemChanged, this, [this] {
        bool any = false;
        for (bool chosen : Chosen()) any |= chosen;
        for (const char* name : {"Recover", "Discard"})
            if (auto* b = findChild<QPushButton*>(name)) b->setEnabled(any);
    });
    auto* table = new QTableView(this);
    table->setObjectName("RecoveryList");
    table->setModel(model);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
    table->verticalHeader()->hide();
    // Names and times as wide as they need (a long name no wider than a
    // third of the dialog), the rest for the file or the reason.
    table->resizeColumnsToContents();
    table->setColumnWidth(0, std::min(table->columnWidth(0), 220));
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    layout->addWidget(table);

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& caption, const char* name, RecoveryAnswer answer,
                         QDialogButtonBox::ButtonRole role) {
        QPushButton* button = buttons->addButton(caption, role);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            accept();
        });
        return button;
    };
    add(tr("Recover"), "Recover", RecoveryAnswer::Recover, QDialogButtonBox::AcceptRole)->setDefault(true);
    add(tr("Discard"), "Discard", RecoveryAnswer::Discard, QDialogButtonBox::DestructiveRole);
    add(tr("Later"), "Later", RecoveryAnswer::Later, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    resize(640, 260);
}

QList<bool> RecoveryDialog::Chosen() const {
    QList<bool> chosen;
    for (int row = 0; row < model_->rowCount(); ++row) chosen << (model_->item(row, 0)->checkState() == Qt::Checked);
    return chosen;
}
