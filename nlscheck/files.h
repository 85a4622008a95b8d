// The package's files as Windows finds them: by names whose letters' case
// does not matter and whose components may end in dots or blanks. Names
// and paths are UTF-8, as the host's file names are read.
#ifndef NLSCHECK_FILES_H
#define NLSCHECK_FILES_H

#include <string>
#include <vector>

// The path, relative to `folder`, of the file that a relative Windows name
// (components split at "\" or "/") names there, or the empty string when
// there is none.
// Each component matches without regard to case (an exact match first)
// and loses its trailing dots and blanks, as on Windows.
std::string ResolveName(const std::string& folder, const std::string& windowsName);

// The same for a folder rather than a file.
std::string ResolveFolder(const std::string& folder, const std::string& windowsName);

// A path in `folder`.
std::string JoinPath(const std::string& folder, const std::string& relative);

// A file's bytes; false when it can't be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The names of the files in a folder, sorted; none if it can't be read.
std::vector<std::string> FilesIn(const std::string& folder);

#endif
