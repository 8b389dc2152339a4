// Unsaved work that a program which did not end normally left behind, as the
// question at start lists it, and the user's answer.
#pragma once

#include <QDateTime>
#include <QString>

struct RecoveryOffer {
    QString name;      // the document's name as it was shown
    QString fileName;  // where it belongs; empty: never saved
    QDateTime changed; // its last change
    QString problem;   // why it cannot be recovered; empty: it can
    bool chosen = true;  // Recover and Discard act on the chosen documents; the others wait for the next start
};

// Open it again, throw it away, or ask again at the next start.
enum class RecoveryAnswer { Recover, Discard, Later };
