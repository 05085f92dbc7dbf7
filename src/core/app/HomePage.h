#pragma once

// The project's home page (string 57709), opened by Help > Homepage. The project has none
// yet: Help > Homepage then opens the installed help page rather than a placeholder address.
// This is the one place to set it.
inline constexpr const char kHomePageUrl[] = "";
