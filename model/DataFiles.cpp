#include "DataFiles.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Calls `visit` with each entry name of `folder` in directory order until it
// returns false. A folder that cannot be read has no entries.
template <class Visit> void ForEachEntry(const std::string& folder, Visit visit) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (!visit(std::string(name)))
            return;
    }
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

} // namespace

bool MatchesWildcardNoCase(std::string_view pattern, std::string_view name) {
    // Greedy match with one back-tracking point: the last '*' seen.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || (pattern[p] != '*' && Lower(pattern[p]) == Lower(name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name) {
    if (name.empty())
        return std::nullopt;
    const std::string exact = Join(folder, name);
    if (Exists(exact))
        return exact;
    const size_t slash = name.find_last_of('/');
    const std::string parent = slash == std::string::npos ? folder : Join(folder, name.substr(0, slash));
    const std::string leaf = slash == std::string::npos ? name : name.substr(slash + 1);
    std::optional<std::string> found;
    bool ambiguous = false;
    ForEachEntry(parent, [&](const std::string& entry) {
        if (!EqualNoCase(entry, leaf))
            return true;
        if (found) {
            ambiguous = true;
            return false;
        }
        found = Join(parent, entry);
        return true;
    });
    if (ambiguous)
        return std::nullopt;
    return found;
}

std::string DataFilePath(const std::string& folder, const std::string& name) {
    return FindFileNoCase(folder, name).value_or(Join(folder, name));
}

std::vector<std::string> DataFileList(const std::string& folder, const std::string& pattern,
                                      std::size_t limit) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::string& entry) {
        if (names.size() >= limit)
            return false;
        if (MatchesWildcardNoCase(pattern, entry) && IsRegularFile(Join(folder, entry)))
            names.push_back(entry);
        return true;
    });
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return Lower(x) < Lower(y); });
    });
    for (std::string& name : names)
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return names;
}
