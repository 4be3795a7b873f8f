#include "icon_decoder.h"

#include <cstdint>

namespace afx {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;
constexpr int kLargestSide = 256;

std::uint32_t ReadLe(std::span<const BYTE> bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return value;
}

// Bytes per row of a bitmap: rows are padded to whole 32-bit words.
std::size_t RowStride(int width, int bitsPerPixel) {
  return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

std::uint32_t PaletteColour(std::span<const BYTE> palette, std::size_t index) {
  // Palette entries are blue, green, red, reserved.
  if ((index + 1) * 4 > palette.size()) return 0xFF000000u;
  const std::size_t at = index * 4;
  return 0xFF000000u | (std::uint32_t{palette[at + 2]} << 16) |
         (std::uint32_t{palette[at + 1]} << 8) | palette[at];
}

std::uint32_t PaletteIndex(std::span<const BYTE> row, int x, int bitsPerPixel) {
  const std::size_t bit = static_cast<std::size_t>(x) * bitsPerPixel;
  const BYTE byte = row[bit / 8];
  const int shift = 8 - bitsPerPixel - static_cast<int>(bit % 8);
  return (byte >> shift) & ((1u << bitsPerPixel) - 1);
}

std::optional<IconImage> DecodeImage(std::span<const BYTE> image) {
  if (image.size() < kBitmapHeaderSize || ReadLe(image, 0, 4) != kBitmapHeaderSize) {
    return std::nullopt;  // not a BITMAPINFOHEADER (a PNG-packed image, for instance)
  }
  const auto width = static_cast<std::int32_t>(ReadLe(image, 4, 4));
  const auto doubledHeight = static_cast<std::int32_t>(ReadLe(image, 8, 4));
  const int bitsPerPixel = static_cast<int>(ReadLe(image, 14, 2));
  const std::uint32_t compression = ReadLe(image, 16, 4);
  const std::uint32_t coloursUsed = ReadLe(image, 32, 4);
  // The height counts the colour bitmap and the mask together.
  const int height = doubledHeight / 2;
  if (width <= 0 || width > kLargestSide || height <= 0 || height > kLargestSide ||
      compression != 0) {
    return std::nullopt;
  }
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
      bitsPerPixel != 32) {
    return std::nullopt;
  }
  std::size_t paletteEntries = 0;
  if (bitsPerPixel <= 8) {
    paletteEntries = coloursUsed != 0 ? coloursUsed : (std::size_t{1} << bitsPerPixel);
    if (paletteEntries > (std::size_t{1} << bitsPerPixel)) return std::nullopt;
  }
  const std::size_t paletteSize = paletteEntries * 4;
  const std::size_t colourStride = RowStride(width, bitsPerPixel);
  const std::size_t maskStride = RowStride(width, 1);
  const std::size_t colourOffset = kBitmapHeaderSize + paletteSize;
  const std::size_t maskOffset = colourOffset + colourStride * height;
  if (maskOffset + maskStride * height > image.size()) return std::nullopt;

  const std::span<const BYTE> palette = image.subspan(kBitmapHeaderSize, paletteSize);
  IconImage result;
  result.width = width;
  result.height = height;
  result.pixels.resize(static_cast<std::size_t>(width) * height);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    // Bitmap rows are stored from the bottom up.
    const std::size_t sourceRow = static_cast<std::size_t>(height - 1 - y);
    const auto colours = image.subspan(colourOffset + sourceRow * colourStride, colourStride);
    const auto mask = image.subspan(maskOffset + sourceRow * maskStride, maskStride);
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel = 0;
      if (bitsPerPixel <= 8) {
        pixel = PaletteColour(palette, PaletteIndex(colours, x, bitsPerPixel));
      } else {
        const std::size_t at = static_cast<std::size_t>(x) * (bitsPerPixel / 8);
        pixel = (std::uint32_t{colours[at + 2]} << 16) | (std::uint32_t{colours[at + 1]} << 8) |
                colours[at];
        if (bitsPerPixel == 32) {
          const std::uint32_t alpha = colours[at + 3];
          anyAlpha = anyAlpha || alpha != 0;
          pixel |= alpha << 24;
        } else {
          pixel |= 0xFF000000u;
        }
      }
      const bool transparent = PaletteIndex(mask, x, 1) != 0;
      if (transparent && bitsPerPixel != 32) pixel = 0;
      result.pixels[static_cast<std::size_t>(y) * width + x] = pixel;
    }
  }
  if (bitsPerPixel == 32 && !anyAlpha) {
    // A 32-bit image without alpha relies on its mask alone.
    for (int y = 0; y < height; ++y) {
      const std::size_t sourceRow = static_cast<std::size_t>(height - 1 - y);
      const auto mask = image.subspan(maskOffset + sourceRow * maskStride, maskStride);
      for (int x = 0; x < width; ++x) {
        std::uint32_t& pixel = result.pixels[static_cast<std::size_t>(y) * width + x];
        pixel = PaletteIndex(mask, x, 1) != 0 ? 0 : (pixel | 0xFF000000u);
      }
    }
  }
  return result;
}

}  // namespace

std::optional<Icon> DecodeIconFile(std::span<const BYTE> file) {
  if (file.size() < kDirectorySize || ReadLe(file, 0, 2) != 0 || ReadLe(file, 2, 2) != 1) {
    return std::nullopt;
  }
  const std::size_t count = ReadLe(file, 4, 2);
  if (kDirectorySize + count * kEntrySize > file.size()) return std::nullopt;
  Icon icon;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectorySize + i * kEntrySize;
    const std::size_t size = ReadLe(file, entry + 8, 4);
    const std::size_t offset = ReadLe(file, entry + 12, 4);
    if (offset > file.size() || size > file.size() - offset) continue;
    if (auto image = DecodeImage(file.subspan(offset, size))) {
      icon.images.push_back(std::move(*image));
    }
  }
  if (icon.images.empty()) return std::nullopt;
  return icon;
}

const IconImage* Icon::ImageForSize(int size) const {
  const IconImage* best = nullptr;
  for (const IconImage& image : images) {
    if (image.width == size) return &image;
  }
  for (const IconImage& image : images) {
    if (image.width > size && (best == nullptr || image.width < best->width)) best = &image;
  }
  if (best != nullptr) return best;
  for (const IconImage& image : images) {
    if (best == nullptr || image.width > best->width) best = &image;
  }
  return best;
}

}  // namespace afx
