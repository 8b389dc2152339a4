// What every document window and the frame agree on about documents: the
// program's titles, what a path opens as, the extension Save As gives, a
// document window's caption, and what a failed load leaves behind.
#pragma once

#include <string>
#include <vector>
#include <string_view>

#include "patch/document.h"
#include "patch/fileio.h"

namespace orb8 {

inline constexpr const char* kShortTitle = "ORB-8ED";
inline constexpr const char* kLongTitle = "ORB-8 Librarian/Editor";

// Open by name: the lower-cased file-name part ends in ".orb" or ".dst";
// anything else opens nothing.
DocumentKind KindOfPath(std::string_view path);
// Save As: the extension is appended unless the lower-cased file-name part
// already ends in it ("bank" gives "bank.orb", "bank.ORB" stays).
std::string WithExtension(const std::string& path, DocumentKind kind);

// The name of the `number`th untitled document of its kind this run
// ("NoName3", "NoNameDst1").
std::string UntitledName(DocumentKind kind, int number);
// The kind of file a document is saved in, as the file messages name it
// (English; the window layer translates it).
const char* FileKindName(DocumentKind kind);

// A document window's caption: the file name, or the untitled name
// ("NoName3", "NoNameDst1") when there is none; "*" while modified.
std::string DocumentCaption(const std::string& fileName, const std::string& untitled, bool modified);
std::string DocumentCaption(const Document& document);

// A file that exists but could not be loaded leaves no path behind, so that
// Save never overwrites it; a path that does not exist is kept (the blank
// window saves there).
bool KeepsPathAfterFailedLoad(bool fileExists);

// Save to the document's own file name asks before it replaces a file there
// that the document never read or wrote (one that appeared after a failed
// open, or after the file of a recovered document had gone).
bool SaveMustAsk(bool fileKnown, bool fileExists);

// The open document that `path` names, or nullptr: one that read or wrote
// that file (the same file by the system, or the same path while none is
// there). Opening it again would make a second copy whose Save overwrites
// the first's work, so its window is shown instead.
Document* OpenDocumentOfFile(const std::vector<Document*>& open, const std::string& path);

// Whether the document file at `path` would open, read as an open reads it
// (nothing is kept): a library row's bank on a disk that is not plugged in
// opens no window.
FileResult TryReading(const std::string& path, DocumentKind kind);

}  // namespace orb8
