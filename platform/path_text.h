#pragma once
// Paths as text, the way every part of the program takes them apart: folders are separated
// by backslashes, and nothing here asks the file system.
#include <string>
#include <string_view>

namespace tovrel::platform {

struct PathParts {
  std::wstring folder;  // before the last backslash (that backslash excluded); empty without one
  std::wstring name;    // after it; the whole text without one
};

PathParts SplitAtLastBackslash(std::wstring_view path);

// The folder part of `path` as a path of its own, empty when there is no backslash. A drive's
// root keeps its backslash: "C:" alone names that drive's current folder.
std::wstring ContainingFolder(std::wstring_view path);

// `folder` ending in a backslash: one is added unless it ends in one already.
std::wstring WithTrailingBackslash(std::wstring folder);

// Runs of backslashes taken as the one separator they name; the pair that opens a network
// path stays.
std::wstring CollapseBackslashes(std::wstring_view path);

}  // namespace tovrel::platform
