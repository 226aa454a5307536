// Sexagesimal numbers and the cuts applied before display.
//
// A sexagesimal number is a double whose integer part is whole hours (or degrees) and
// whose decimals are two digits of minutes then two of seconds: 18 h 45 min 6 s is
// 18.4506, -23 deg 0' 58" is -23.0058 (the sign is the sign of every component).
// Seconds are truncated, never rounded: the display masks then only absorb the binary
// representation error, and the visible effect is truncation.
#pragma once

namespace kavrel {

// Decimal hours or degrees to the sexagesimal number, in this order of operations:
// d = trunc(x); f = x - d; q = (3600 f) / 60; m = trunc(q); s = trunc(60 (q - trunc(q)));
// result = (d + m / 100) + s / 10000.
[[nodiscard]] double dms(double x) noexcept;

// x cut toward zero to tenths, and to hundredths.
[[nodiscard]] double arr1(double x) noexcept;
[[nodiscard]] double arr2(double x) noexcept;

// The sexagesimal number as typed back to decimal hours or degrees:
// sign(x) ((d + mm / 60) + s / 3600), where d, mm and s are read from the digits of x's
// 15-significant-digit decimal form: the whole part, the first two decimals, and the
// decimals from the third on as seconds with their fraction. 1.15 gives exactly 1.25,
// 6.4245 gives 6.7125; 1.7 reads 1 + 70/60 (nothing is refused). Non-finite x, and
// x of 10^15 or more in magnitude (no decimals left among 15 digits), are returned as is.
[[nodiscard]] double degr(double x) noexcept;

}  // namespace kavrel
