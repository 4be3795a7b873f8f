// Reading an .ico file (an icon directory and its device-independent bitmaps) into images.
// Internal to platform/afx.
#pragma once

#include <optional>
#include <span>

#include "afxbackend.h"

namespace afx {

// Every image of the file that is a bitmap of 1, 4, 8, 24 or 32 bits per pixel without
// compression, its AND mask applied as transparency. Images that cannot be read (PNG-packed,
// compressed, cut short) are left out; nullopt when none is left or the directory is broken.
std::optional<Icon> DecodeIconFile(std::span<const BYTE> file);

}  // namespace afx
