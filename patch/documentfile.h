// Which file a document's content came from. A document keeps a file name
// from a failed open (a later Save writes there), but it never read that
// file: it is captioned as untitled, and a Save that would replace a file
// that appeared there since must ask first.
#pragma once

#include <string>

namespace orb8 {

class DocumentFile {
public:
    // The document read or wrote `path`: it is that file's content.
    void ReadOrWrote(const std::string& path) { known_ = titled_ = path; }
    // The document was recovered for `path` (the file may be gone): it is
    // shown under that name, but what is there now is not its content.
    void RecoveredFor(const std::string& path) { titled_ = path; }
    // Whether the file at `path` is the one the document last read or wrote.
    bool Known(const std::string& path) const { return !path.empty() && known_ == path; }
    // Whether the caption shows `path` rather than the untitled name.
    bool Titled(const std::string& path) const { return !path.empty() && titled_ == path; }

private:
    std::string known_, titled_;
};

}  // namespace orb8
