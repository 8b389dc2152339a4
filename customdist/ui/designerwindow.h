// What the two character designers share: a window of its own above its
// custom distortion document that lives as long as the document (closing
// only hides it), the CALC and SEND buttons, CALC as one step of the
// document's session, and SEND's guard (only with the output open, and an
// invalid filter only on the user's word).
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "customdist/designer.h"

class DesignerContext;
class QPushButton;
class QVBoxLayout;

namespace orb8 {
class CustomDistSession;
}

class DesignerWindow : public QWidget {
    Q_OBJECT

public:
    int Set() const { return designer_.Set(); }
    // Shows the set as the document holds it now.
    virtual void Refresh() = 0;

protected:
    DesignerWindow(DesignerContext& context, orb8::CustomDistSession& session, QWidget* document,
                   orb8::CharacterDesigner designer);

    // CALC and SEND, one above the other, with the names the window gives them.
    QVBoxLayout* MakeButtons(const char* calcName, QPushButton*& calc, QPushButton*& send);
    // CALC: the input computed as one step named `text` (a step even when
    // nothing changes), then the window shows the result.
    void Calculate(const QString& text, const std::vector<orb8::FilterInput>& input);
    // SEND: `send` runs when the output is open and, with an invalid filter,
    // when the user answers Yes to `invalidQuestion`.
    void Audition(const QString& invalidQuestion, const std::function<void()>& send);
    void closeEvent(QCloseEvent* event) override;

    DesignerContext& context_;
    orb8::CustomDistSession& session_;
    orb8::CharacterDesigner designer_;
};
