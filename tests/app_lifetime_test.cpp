// Two applications one after the other, as a program's tests make them: what
// the controls keep for the application's life (the numeric edit's cursors)
// goes with it and is made anew for the next one.
#include <QApplication>

#include "controls/numedit.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int round = 0; round < 2; ++round) {
        QApplication app(argc, argv);
        TNumEdit edit;
        edit.setCursor(TNumEdit::StepCursor(true, false));
        if (TNumEdit::StepCursor(false, true).pixmap().isNull()) return 1;
    }
    return 0;
}
