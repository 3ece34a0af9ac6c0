#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tool's data files (register map, init file, EQ, loudness and DRC files,
// presets, pictures, documents) live in the start directory. Their names are
// written in whatever case the file was saved with, and users type them in any
// case, so a data file is found by its exact name first and otherwise by the
// one file whose name matches without regard to case.

// Whether `name` matches the wildcard `pattern` ('*' any run, '?' one
// character), ASCII letters compared without regard to case.
bool MatchesWildcardNoCase(std::string_view pattern, std::string_view name);

// The path of the file `name` in `folder`: the exact name when it exists, else
// the one entry whose name matches without regard to case. Nothing when there
// is no such entry or more than one matches and none exactly. `name` may carry
// folders of its own ("sub/file.cfg"); only its last part is matched loosely.
std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name);

// The path to open for `name` in `folder`: what FindFileNoCase finds, or the
// plain joined path when it finds nothing (opening that then fails as usual,
// and a save creates the file under the name given).
std::string DataFilePath(const std::string& folder, const std::string& name);

// A file list as the panels show it: the names of the regular files in
// `folder` that match `pattern`, at most `limit` of them in the order the
// directory returns them, then sorted without regard to case and upper-cased.
inline constexpr std::size_t MaxDataFileList = 200;
std::vector<std::string> DataFileList(const std::string& folder, const std::string& pattern,
                                      std::size_t limit = MaxDataFileList);
