// FilterColumnBox: the controls of one filter in a designer: "On", the type
// list, the Freq, Gain, Q and trim edits with their labels and units, and
// "Valid" or "invalid". The edits hold the device codes and show them with
// the library's text rules.
#pragma once

#include <QWidget>

#include "customdist/designer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class TNumEdit;

class FilterColumnBox : public QWidget {
    Q_OBJECT

public:
    // suffix names the controls ("Bottom" gives EditFreqBottom, GainLabelBottom,
    // BottomOnf); heading may be empty; resultName names "Valid"/"invalid"
    // (empty: "Result" + suffix).
    FilterColumnBox(const QString& heading, const QString& suffix, QWidget* parent, const QString& resultName = {});

    void Show(const orb8::FilterColumn& column);
    orb8::FilterInput Input() const;

private:
    TNumEdit* Edit(const QString& name, int min, int max);
    // Gain and Q (labels with them) only where the type uses them.
    void EnableInputsForType(int type);

    QCheckBox* Onf;
    QComboBox* CBfilterType;
    TNumEdit *EditFreq, *EditGain, *EditQ, *EditTrim;
    QLabel *GainLabel, *QLabel_, *Result;
};
