// What the file commands need of the frame: the active document window,
// and a new document window of a kind, placed and registered.
#pragma once

#include "workspace/documentrules.h"

class DocumentWindow;

class DocumentFrame {
public:
    virtual DocumentWindow* ActiveDocumentWindow() const = 0;
    virtual DocumentWindow* NewDocumentWindow(orb8::DocumentKind kind) = 0;

protected:
    ~DocumentFrame() = default;
};
