// What the file and recovery commands need of the frame: the active
// document, a new document of a kind with its window placed and
// registered, the open ones, and showing or closing a document's window.
#pragma once

#include <vector>

#include "workspace/documentrules.h"

class DocumentFrame {
public:
    virtual orb8::Document* ActiveDocument() const = 0;
    virtual orb8::Document* NewDocument(orb8::DocumentKind kind) = 0;
    // Closes the document's window (asking about unsaved work as a close does).
    virtual void CloseDocument(const orb8::Document& document) = 0;
    // Every open document, oldest first; and bringing one's window to the front.
    virtual std::vector<orb8::Document*> Documents() const = 0;
    virtual void ShowDocument(const orb8::Document& document) = 0;

protected:
    ~DocumentFrame() = default;
};
