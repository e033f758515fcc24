#pragma once

#include <string>
#include <string_view>

namespace shell {

// Replaces the file at `path` with `bytes` so that a crash or a full disk
// leaves either the old content or the new one, never a cut file: the bytes
// go to a temporary file beside it, reach the disk, and only then take the
// old file's name. A symbolic link is followed, so the link stays. False when
// anything fails; the old file is then untouched and no temporary file is
// left behind.
bool replaceFileAtomically(const std::string& path, std::string_view bytes);

// Creates `folder` and every missing folder above it.
bool makeFolders(const std::string& folder);

// The part of `path` before its last "/" ("" when there is none).
std::string parentFolder(const std::string& path);

}  // namespace shell
