#include "editors/ui/stepwords.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace {

std::string Word(const char* text) { return QCoreApplication::translate("StepWords", text).toStdString(); }

}  // namespace

orb8::StepWords StepWordsInLanguage() {
    orb8::StepWords words;
    words.modules = {Word(QT_TRANSLATE_NOOP("StepWords", "Drive")), Word(QT_TRANSLATE_NOOP("StepWords", "Mod")),
                     Word(QT_TRANSLATE_NOOP("StepWords", "Dly/Rev")), Word(QT_TRANSLATE_NOOP("StepWords", "EQ"))};
    words.type = Word(QT_TRANSLATE_NOOP("StepWords", "type"));
    words.name = Word(QT_TRANSLATE_NOOP("StepWords", "name"));
    words.moduleSwitch = Word(QT_TRANSLATE_NOOP("StepWords", "module switch"));
    words.on = Word(QT_TRANSLATE_NOOP("StepWords", "%1 on"));
    words.off = Word(QT_TRANSLATE_NOOP("StepWords", "%1 off"));
    words.parameter = Word(QT_TRANSLATE_NOOP("StepWords", "%1 %2"));
    words.move = Word(QT_TRANSLATE_NOOP("StepWords", "Move %1 to %2"));
    words.moveRows = Word(QT_TRANSLATE_NOOP("StepWords", "Move %1-%2 to %3"));
    return words;
}
