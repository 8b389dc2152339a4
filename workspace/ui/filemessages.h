// A file operation's message as the user reads it: the form in the
// program's language (the translations hold it), filled in.
#pragma once

#include <QString>
#include <string>

#include "patch/fileio.h"

// kindName: "project file", "custom distortion file", "SysEx file" or "file".
QString FileMessageText(const orb8::FileResult& result, const std::string& kindName);
