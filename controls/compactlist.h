// CompactList: a drop-down list for narrow places, such as the EQ's
// frequency lists: the chosen text and a small arrow, no wider than needed.
#pragma once

#include <QComboBox>

class CompactList : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};
