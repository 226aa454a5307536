// The date a camera wrote into its photograph: EXIF's DateTimeOriginal (tag 0x9003 of the
// Exif IFD), with SubSecTimeOriginal (0x9291) for the fraction of a second and
// OffsetTimeOriginal (0x9011, "+02:00") for the time zone, read from the bytes of a JPEG
// file (the APP1 segment "Exif") or of a TIFF file (its first IFD).
//
// The date is the camera's clock (cameraClock set): local time unless the offset is given,
// in which case it is turned into UTC; often minutes off either way. Every offset and
// count read from the file is checked against the bytes given before it is followed: a
// damaged or hostile file gives nothing, never a read outside them. Only the first IFD's
// Exif pointer is followed (no loops).
#pragma once

#include <cstddef>
#include <optional>

#include "image/observation_date.h"

namespace kavrel::image {

[[nodiscard]] std::optional<ObservationDate> exifDateTaken(const void* data, std::size_t size) noexcept;

}  // namespace kavrel::image
