#pragma once

#include <optional>
#include <string>

namespace kestrelon {

// Replaces a file's content in one step: the new content goes to a temporary file beside it,
// is flushed to disk and renamed over the old file, so a reader or a crash sees either the old
// or the new content, never a mix. A new file is created readable by its owner only; an existing
// file keeps its permissions. Returns false when the content could not be written; the old file
// is then untouched.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace kestrelon
