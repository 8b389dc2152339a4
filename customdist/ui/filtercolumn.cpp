#include "customdist/ui/filtercolumn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "controls/numedit.h"

using namespace orb8;

namespace {
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

TNumEdit* FilterColumnBox::Edit(const QString& name, int min, int max) {
    auto* edit = new TNumEdit(this);
    edit->setObjectName(name);
    edit->SetMax(max);
    edit->SetMin(min);
    edit->setMinimumWidth(76);
    return edit;
}

FilterColumnBox::FilterColumnBox(const QString& heading, const QString& suffix, QWidget* parent, const QString& resultName)
    : QWidget(parent) {
    setObjectName("Column" + suffix);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    int row = 0;
    if (!heading.isEmpty()) {
        auto* title = new QLabel(heading, this);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        grid->addWidget(title, row++, 0, 1, 3);
    }
    Onf = new QCheckBox(tr("On"), this);
    Onf->setObjectName(suffix.isEmpty() ? QStringLiteral("Onf") : suffix + "Onf");
    grid->addWidget(Onf, row++, 0, 1, 3);
    CBfilterType = new QComboBox(this);
    CBfilterType->setObjectName("CBfilterType" + suffix);
    for (int t = 0; t < kFilterTypeCount; ++t) CBfilterType->addItem(Q(FilterTypeText(t)));
    grid->addWidget(CBfilterType, row++, 0, 1, 3);

    EditFreq = Edit("EditFreq" + suffix, kFreqCodes.min, kFreqCodes.max);
    EditGain = Edit("EditGain" + suffix, kGainCodes.min, kGainCodes.max);
    EditQ = Edit("EditQ" + suffix, kQCodes.min, kQCodes.max);
    EditTrim = Edit("EditTrim" + suffix, kGainCodes.min, kGainCodes.max);
    EditFreq->OnSetText = [](int code) { return Q(FreqText(code)); };
    EditFreq->OnTextToVal = [](const QString& text) { return FreqCodeFromText(text.toStdString()); };
    for (TNumEdit* e : {EditGain, EditTrim}) {
        e->OnSetText = [](int code) { return Q(GainText(code)); };
        e->OnTextToVal = [](const QString& text) { return GainCodeFromText(text.toStdString()); };
    }
    EditQ->OnSetText = [](int code) { return Q(QText(code)); };
    EditQ->OnTextToVal = [](const QString& text) { return QCodeFromText(text.toStdString()); };

    auto line = [&](const QString& label, TNumEdit* edit, const QString& unit) {
        auto* l = new QLabel(label, this);
        grid->addWidget(l, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(unit, this), row, 2);
        ++row;
        return l;
    };
    line(tr("Freq:"), EditFreq, tr("Hz"));
    GainLabel = line(tr("Gain:"), EditGain, tr("dB"));
    GainLabel->setObjectName("GainLabel" + suffix);
    QLabel_ = line(tr("Q:"), EditQ, QString());
    QLabel_->setObjectName("QLabel" + suffix);
    line(tr("trim:"), EditTrim, tr("dB"));
    Result = new QLabel(this);
    Result->setObjectName(resultName.isEmpty() ? "Result" + suffix : resultName);
    QFont bold = Result->font();
    bold.setBold(true);
    Result->setFont(bold);
    grid->addWidget(Result, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    connect(CBfilterType, &QComboBox::currentIndexChanged, this, &FilterColumnBox::EnableInputsForType);
}

void FilterColumnBox::Show(const FilterColumn& c) {
    Onf->setChecked(c.on);
    CBfilterType->setCurrentIndex(c.type);
    EditFreq->SetValue(c.freqCode);
    EditGain->SetValue(c.gainCode);
    EditQ->SetValue(c.qCode);
    EditTrim->SetValue(c.trimCode);
    EnableInputsForType(c.type);
    Result->setText(c.valid ? tr("Valid") : tr("invalid"));
    QPalette p = Result->palette();
    p.setColor(QPalette::WindowText, c.valid ? QColor(20, 130, 40) : QColor(200, 40, 30));
    Result->setPalette(p);
}

FilterInput FilterColumnBox::Input() const {
    return {Onf->isChecked(), CBfilterType->currentIndex(), EditFreq->text().toStdString(), EditGain->text().toStdString(),
            EditQ->text().toStdString(), EditTrim->text().toStdString()};
}

void FilterColumnBox::EnableInputsForType(int type) {
    const bool gain = TypeUsesGain(type), q = TypeUsesQ(type);
    GainLabel->setEnabled(gain);
    EditGain->setEnabled(gain);
    QLabel_->setEnabled(q);
    EditQ->setEnabled(q);
}
