// SPDX-License-Identifier: GPL-3.0-or-later
// The two mappings from picture row to oscillator frequency, and the preview of the shaped one.
#pragma once

#include <array>
#include <cstdint>

// The preview shows the shaped mapping one sample per pixel column.
constexpr int PreviewWidth = 160;
constexpr int PreviewHeight = 70;

// Equal-ratio spread: row 50 sounds at from, row 380 would sound at to. from must not be 0.
float DefaultFrequency(std::int32_t row, std::int32_t from, std::int32_t to);
// The Bezier mapping through (A, B), (C, D) at position x in 0..1: Hz when from and to are non-zero,
// otherwise the preview pixel row (0..70) of the curve.
float DistributionFrequency(float x, float a, float b, float c, float d, std::int32_t from, std::int32_t to);
// a t^3 + b t^2 + c t + d, evaluated in double precision, rounded to single.
float CubicValue(float t, float a, float b, float c, float d);
// 1 / (3a t^2 + 2b t + c), evaluated in double precision, rounded to single.
float InverseCubicSlope(float t, float a, float b, float c);
// The 160 preview rows of the curve for the fractions A..D (before rounding).
std::array<float, PreviewWidth> PreviewSamples(float a, float b, float c, float d);
