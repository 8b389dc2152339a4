// The widget or action under `root` with the object name `name`, for the
// tests, benchmarks and the gallery that drive windows as a user would. A
// missing name is a broken window: the program stops and says which.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

template <class T>
T* Named(const QObject& root, const QString& name) {
    T* found = root.findChild<T*>(name);
    if (!found) qFatal("%s has no %s named %s", qPrintable(root.objectName()), T::staticMetaObject.className(), qPrintable(name));
    return found;
}
