#pragma once

#include <string>

// The codes people type for a country or a region, from ISO 3166. Codes in capitals.
namespace PlaceCodes {

// The alpha-2 code of an alpha-3 country code ("FRA" gives "FR"); empty when unknown.
std::string Alpha2(const std::string& alpha3);
// The name of a region by its code within a country ("US", "TX" gives "Texas"); empty when
// unknown (only the United States, Canada and Australia are known).
std::string SubdivisionName(const std::string& alpha2, const std::string& code);

} // namespace PlaceCodes
