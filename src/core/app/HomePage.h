#pragma once

// The project's home page (string 57709), opened by Help > Homepage.
// This is the one place to change it; the address below is a placeholder.
inline constexpr const char kHomePageUrl[] = "https://jotterly.example.org/";
