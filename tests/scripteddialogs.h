// Message boxes and file dialogs answered from a script, for tests and
// benchmarks of the window program; every box shown is recorded.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>

#include "workspace/ui/userdialogs.h"

struct ScriptedDialogs : UserDialogs {
    struct Box {
        QString kind, caption, text;
    };
    std::vector<Box> shown;
    bool yesNo = true;
    std::deque<Answer> saveAnswers;  // Yes, No or Cancel in turn; then Cancel, or No once discarding
    bool discardUnsaved = false;
    std::deque<QString> openNames, saveNames, folderNames, texts;  // empty: cancelled
    std::function<void()> duringBox;           // runs while a box is "open"
    RecoveryAnswer recoveryAnswer = RecoveryAnswer::Later;
    QList<RecoveryOffer> recoveryOffers;       // what the last recovery question listed
    QList<int> recoveryLeftOut;                // offers to untick

    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"question", caption, text});
        if (duringBox) duringBox();
        return yesNo;
    }
    Answer AskSave(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"save", caption, text});
        if (saveAnswers.empty()) return discardUnsaved ? Answer::No : Answer::Cancel;
        const Answer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    void Inform(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"information", caption, text});
        if (duringBox) duringBox();
    }
    void ShowError(QWidget*, const QString& caption, const QString& text) override {
        shown.push_back({"error", caption, text});
    }
    QString OpenFileName(QWidget*, const QString& filter) override {
        shown.push_back({"open", filter, {}});
        return Next(openNames);
    }
    QString FolderName(QWidget*, const QString& caption) override {
        shown.push_back({"folder", caption, {}});
        return Next(folderNames);
    }
    QString AskText(QWidget*, const QString& caption, const QString&, const QString& initial) override {
        shown.push_back({"text", caption, initial});
        return Next(texts);
    }
    QString SaveFileName(QWidget*, const QString& filter, const QString& current) override {
        shown.push_back({"saveas", filter, current});
        return Next(saveNames);
    }
    RecoveryAnswer AskRecovery(QWidget*, QList<RecoveryOffer>& offers) override {
        shown.push_back({"recovery", {}, {}});
        // The documents the test unticks (by offer index) wait for another start.
        for (int i : recoveryLeftOut)
            if (i >= 0 && i < offers.size()) offers[i].chosen = false;
        recoveryOffers = offers;
        return recoveryAnswer;
    }
    int Count(const QString& kind) const {
        int n = 0;
        for (const auto& b : shown) n += b.kind == kind;
        return n;
    }
    QString Last(const QString& kind) const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == kind) return it->text;
        return {};
    }

private:
    static QString Next(std::deque<QString>& names) {
        if (names.empty()) return {};
        QString n = names.front();
        names.pop_front();
        return n;
    }
};
