// Texts shown to the user are joined from these pieces when they are shown;
// the product name is always a piece of its own.
#pragma once

namespace texts {

inline constexpr const char* ProductName = "Quorlet";
inline constexpr const char* ExitQuestion =
    "Setup has not completed.  Are you sure you want to exit?";

}  // namespace texts
