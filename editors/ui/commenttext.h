// A comment's bytes as text: UTF-8 when they are UTF-8, else the legacy code
// page of the interface language (Windows-1252 for English, Shift-JIS for
// Japanese), as older programs wrote them.
#pragma once

#include <QString>
#include <string>

QString CommentText(const std::string& bytes, bool japanese);
