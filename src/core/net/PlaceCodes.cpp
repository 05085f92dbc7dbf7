#include "core/net/PlaceCodes.h"

#include <cstring>

namespace {

// ISO 3166-1: each alpha-2 code followed by its alpha-3 code, in alpha-2 order.
constexpr const char* kCountries =
    "ADANDAEAREAFAFGAGATGAIAIAALALBAMARMAOAGOAQATAARARGASASMATAUTAUAUSAWABWAXALAAZAZE"
    "BABIHBBBRBBDBGDBEBELBFBFABGBGRBHBHRBIBDIBJBENBLBLMBMBMUBNBRNBOBOLBQBESBRBRABSBHS"
    "BTBTNBVBVTBWBWABYBLRBZBLZCACANCCCCKCDCODCFCAFCGCOGCHCHECICIVCKCOKCLCHLCMCMRCNCHN"
    "COCOLCRCRICUCUBCVCPVCWCUWCXCXRCYCYPCZCZEDEDEUDJDJIDKDNKDMDMADODOMDZDZAECECUEEEST"
    "EGEGYEHESHERERIESESPETETHFIFINFJFJIFKFLKFMFSMFOFROFRFRAGAGABGBGBRGDGRDGEGEOGFGUF"
    "GGGGYGHGHAGIGIBGLGRLGMGMBGNGINGPGLPGQGNQGRGRCGSSGSGTGTMGUGUMGWGNBGYGUYHKHKGHMHMD"
    "HNHNDHRHRVHTHTIHUHUNIDIDNIEIRLILISRIMIMNININDIOIOTIQIRQIRIRNISISLITITAJEJEYJMJAM"
    "JOJORJPJPNKEKENKGKGZKHKHMKIKIRKMCOMKNKNAKPPRKKRKORKWKWTKYCYMKZKAZLALAOLBLBNLCLCA"
    "LILIELKLKALRLBRLSLSOLTLTULULUXLVLVALYLBYMAMARMCMCOMDMDAMEMNEMFMAFMGMDGMHMHLMKMKD"
    "MLMLIMMMMRMNMNGMOMACMPMNPMQMTQMRMRTMSMSRMTMLTMUMUSMVMDVMWMWIMXMEXMYMYSMZMOZNANAM"
    "NCNCLNENERNFNFKNGNGANINICNLNLDNONORNPNPLNRNRUNUNIUNZNZLOMOMNPAPANPEPERPFPYFPGPNG"
    "PHPHLPKPAKPLPOLPMSPMPNPCNPRPRIPSPSEPTPRTPWPLWPYPRYQAQATREREUROROURSSRBRURUSRWRWA"
    "SASAUSBSLBSCSYCSDSDNSESWESGSGPSHSHNSISVNSJSJMSKSVKSLSLESMSMRSNSENSOSOMSRSURSSSSD"
    "STSTPSVSLVSXSXMSYSYRSZSWZTCTCATDTCDTFATFTGTGOTHTHATJTJKTKTKLTLTLSTMTKMTNTUNTOTON"
    "TRTURTTTTOTVTUVTWTWNTZTZAUAUKRUGUGAUMUMIUSUSAUYURYUZUZBVAVATVCVCTVEVENVGVGBVIVIR"
    "VNVNMVUVUTWFWLFWSWSMYEYEMYTMYTZAZAFZMZMBZWZWE";

struct Subdivision {
    const char* code; // ISO 3166-2, "US-TX"
    const char* name;
};

// The areas whose codes people write in addresses: the states and territories of the United
// States, Canada and Australia.
constexpr Subdivision kSubdivisions[] = {
    {"AU-ACT", "Australian Capital Territory"},
    {"AU-NSW", "New South Wales"},
    {"AU-NT", "Northern Territory"},
    {"AU-QLD", "Queensland"},
    {"AU-SA", "South Australia"},
    {"AU-TAS", "Tasmania"},
    {"AU-VIC", "Victoria"},
    {"AU-WA", "Western Australia"},
    {"CA-AB", "Alberta"},
    {"CA-BC", "British Columbia"},
    {"CA-MB", "Manitoba"},
    {"CA-NB", "New Brunswick"},
    {"CA-NL", "Newfoundland and Labrador"},
    {"CA-NS", "Nova Scotia"},
    {"CA-NT", "Northwest Territories"},
    {"CA-NU", "Nunavut"},
    {"CA-ON", "Ontario"},
    {"CA-PE", "Prince Edward Island"},
    {"CA-QC", "Quebec"},
    {"CA-SK", "Saskatchewan"},
    {"CA-YT", "Yukon"},
    {"US-AK", "Alaska"},
    {"US-AL", "Alabama"},
    {"US-AR", "Arkansas"},
    {"US-AS", "American Samoa"},
    {"US-AZ", "Arizona"},
    {"US-CA", "California"},
    {"US-CO", "Colorado"},
    {"US-CT", "Connecticut"},
    {"US-DC", "District of Columbia"},
    {"US-DE", "Delaware"},
    {"US-FL", "Florida"},
    {"US-GA", "Georgia"},
    {"US-GU", "Guam"},
    {"US-HI", "Hawaii"},
    {"US-IA", "Iowa"},
    {"US-ID", "Idaho"},
    {"US-IL", "Illinois"},
    {"US-IN", "Indiana"},
    {"US-KS", "Kansas"},
    {"US-KY", "Kentucky"},
    {"US-LA", "Louisiana"},
    {"US-MA", "Massachusetts"},
    {"US-MD", "Maryland"},
    {"US-ME", "Maine"},
    {"US-MI", "Michigan"},
    {"US-MN", "Minnesota"},
    {"US-MO", "Missouri"},
    {"US-MP", "Northern Mariana Islands"},
    {"US-MS", "Mississippi"},
    {"US-MT", "Montana"},
    {"US-NC", "North Carolina"},
    {"US-ND", "North Dakota"},
    {"US-NE", "Nebraska"},
    {"US-NH", "New Hampshire"},
    {"US-NJ", "New Jersey"},
    {"US-NM", "New Mexico"},
    {"US-NV", "Nevada"},
    {"US-NY", "New York"},
    {"US-OH", "Ohio"},
    {"US-OK", "Oklahoma"},
    {"US-OR", "Oregon"},
    {"US-PA", "Pennsylvania"},
    {"US-PR", "Puerto Rico"},
    {"US-RI", "Rhode Island"},
    {"US-SC", "South Carolina"},
    {"US-SD", "South Dakota"},
    {"US-TN", "Tennessee"},
    {"US-TX", "Texas"},
    {"US-UM", "United States Minor Outlying Islands"},
    {"US-UT", "Utah"},
    {"US-VA", "Virginia"},
    {"US-VI", "Virgin Islands, U.S."},
    {"US-VT", "Vermont"},
    {"US-WA", "Washington"},
    {"US-WI", "Wisconsin"},
    {"US-WV", "West Virginia"},
    {"US-WY", "Wyoming"},
};

} // namespace

namespace PlaceCodes {

std::string Alpha2(const std::string& alpha3) {
    if (alpha3.size() != 3) return {};
    for (const char* p = kCountries; *p; p += 5)
        if (std::strncmp(p + 2, alpha3.c_str(), 3) == 0) return std::string(p, 2);
    return {};
}

std::string SubdivisionName(const std::string& alpha2, const std::string& code) {
    const std::string full = alpha2 + "-" + code;
    for (const Subdivision& s : kSubdivisions)
        if (full == s.code) return s.name;
    return {};
}

} // namespace PlaceCodes
