#pragma once

// How many characters the window's English and Japanese boxes take; import and convert name longer pairs.
namespace TextLimits {
constexpr int kEnglish = 49;
constexpr int kJapanese = 27;
} // namespace TextLimits
