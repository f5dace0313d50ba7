// The program's version texts.
#pragma once

namespace resources {

inline constexpr const char* FILE_VERSION = "1.0.0.1";
inline constexpr const char* PRODUCT_VERSION = "1.0.0.1";
inline constexpr const char* FILE_DESCRIPTION = "MFC-Anwendung Karvelo";
inline constexpr const char* INTERNAL_NAME = "Karvelo";
inline constexpr const char* PRODUCT_NAME = "Anwendung Karvelo";
inline constexpr const char* COMPANY_NAME = "Karvelo";
inline constexpr const char* LEGAL_COPYRIGHT = "Copyright © 2026 Karvelo";

} // namespace resources
