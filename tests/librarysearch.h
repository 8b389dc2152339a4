// A search in the Library window as a user runs it: the words typed into the
// field, then Return; the window has shown the results and the details of
// the first one when it returns true.
#pragma once

#include <QLineEdit>
#include <QTest>

#include "library/ui/librarywin.h"
#include "controls/named.h"

inline bool LibraryShown(TLibraryWin* library) {
    return QTest::qWaitFor([&] { return !library->Reading(); }, 20000);
}

inline bool SearchLibrary(TLibraryWin* library, const QString& text) {
    Named<QLineEdit>(*library, "SearchEdit")->clear();
    QTest::keyClicks(Named<QLineEdit>(*library, "SearchEdit"), text);
    QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), Qt::Key_Return);
    return LibraryShown(library);
}

// Return again until `done` holds (what another thread writes, a scan's end).
template <typename Done>
bool SearchAgainUntil(TLibraryWin* library, Done done) {
    return QTest::qWaitFor(
        [&] {
            if (library->Reading()) return false;
            if (done()) return true;
            QTest::keyClick(Named<QLineEdit>(*library, "SearchEdit"), Qt::Key_Return);
            return false;
        },
        20000);
}
