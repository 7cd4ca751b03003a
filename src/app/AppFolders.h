// Folders beside the executable.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Folder of the running executable, with its trailing separator.
std::wstring ExecutableFolder();

// Where the package goes unless the user picks another folder: "Quorvane\" beside the executable.
std::wstring DefaultDownloadFolder();

std::wstring WithTrailingSeparator(std::wstring_view folder);

// Creates the folder with every missing level; true when it exists afterwards.
bool EnsureFolderExists(const std::wstring& folder);

bool FileExists(const std::wstring& path);

}  // namespace qv
