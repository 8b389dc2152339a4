#include "workspace/ui/recoverydialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

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
    model->setHorizontalHeaderLabels({tr("Document"), tr("Last change"), tr("File")});
    for (const RecoveryOffer& offer : offers) {
        QList<QStandardItem*> row;
        row << new QStandardItem(offer.name);
        row << new QStandardItem(offer.changed.isValid() ? QLocale().toString(offer.changed.toLocalTime(), QLocale::ShortFormat)
                                                         : QString());
        row << new QStandardItem(offer.problem.isEmpty() ? (offer.fileName.isEmpty() ? tr("(never saved)") : offer.fileName)
                                                         : tr("Cannot be recovered: %1").arg(offer.problem));
        row.back()->setToolTip(row.back()->text());
        for (QStandardItem* item : row) item->setEditable(false);
        model->appendRow(row);
    }
    auto* table = new QTableView(this);
    table->setObjectName("RecoveryList");
    table->setModel(model);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnsToContents();
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
