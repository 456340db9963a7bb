// The program's version, shown in the main window's caption and the about box.
#pragma once

inline constexpr const char* KX_VERSION = "6.0.8";
