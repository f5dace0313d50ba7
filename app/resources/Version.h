// The program's version texts.
#pragma once

namespace resources {

// The version lives in one place, the project() of the top CMakeLists.txt.
inline constexpr const char* FILE_VERSION = KARVELO_VERSION;
inline constexpr const char* PRODUCT_VERSION = KARVELO_VERSION;
inline constexpr const char* FILE_DESCRIPTION = "MFC-Anwendung Karvelo";
inline constexpr const char* INTERNAL_NAME = "Karvelo";
inline constexpr const char* PRODUCT_NAME = "Anwendung Karvelo";
inline constexpr const char* COMPANY_NAME = "Karvelo";
inline constexpr const char* LEGAL_COPYRIGHT = "Copyright © 2026 Karvelo";

} // namespace resources
