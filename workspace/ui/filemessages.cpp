#include "workspace/ui/filemessages.h"

#include <QCoreApplication>

namespace {

// The forms and the kind names, named here so that the translation tools find them.
[[maybe_unused]] const char* const kForms[] = {
    QT_TRANSLATE_NOOP("FileMessage", "%1can't be opened."),
    QT_TRANSLATE_NOOP("FileMessage", "%1can't be opened.\n%2."),
    QT_TRANSLATE_NOOP("FileMessage", "%1 is not a %2: it has %3 bytes, a %2 has %4. Nothing was loaded."),
    QT_TRANSLATE_NOOP("FileMessage", "%1 is longer than a %2: it has %3 bytes, a %2 has %4. Nothing was loaded."),
    QT_TRANSLATE_NOOP("FileMessage", "%1 ends early: it has %2 of %3 bytes. The rest keeps the contents of a new document."),
    QT_TRANSLATE_NOOP("FileMessage", "%1 couldn't be saved: %2.\nThe previous file is unchanged."),
    QT_TRANSLATE_NOOP("FileMessage", "%1 couldn't be saved: %2.\nNothing was written."),
};
[[maybe_unused]] const char* const kVariants[][2] = {
    QT_TRANSLATE_NOOP3("FileMessage", "%1 couldn't be saved: %2.\nNothing was written.", "not a file"),
};
[[maybe_unused]] const char* const kKinds[] = {
    QT_TRANSLATE_NOOP("FileMessage", "project file"),
    QT_TRANSLATE_NOOP("FileMessage", "custom distortion file"),
    QT_TRANSLATE_NOOP("FileMessage", "SysEx file"),
    QT_TRANSLATE_NOOP("FileMessage", "file"),
};

}  // namespace

QString FileMessageText(const orb8::FileResult& result, const std::string& kindName) {
    const std::string kind = QCoreApplication::translate("FileMessage", kindName.c_str()).toStdString();
    const orb8::MessageForm form = orb8::FileMessageForm(result, kind);
    const QString text = QCoreApplication::translate("FileMessage", form.text, form.variant);
    return QString::fromStdString(orb8::FillForm(text.toStdString(), form.args));
}
