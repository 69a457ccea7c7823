#pragma once
#include <optional>
#include <string>

namespace tessaly {

// "HH:MM:SS" for a whole number of seconds; from 24 hours on the hours keep
// counting ("24:00:00", "100:00:00").
std::string formattime(const std::string& second);

// A plain decimal number with optional sign, fraction, exponent and surrounding
// spaces, as the group-count box accepts; nullopt for anything else (also "",
// hexadecimal, currency, thousands separators). A number too large for a double is
// an infinity of its sign. One pass over the text, whatever its length.
std::optional<double> parseNumber(const std::string& text);

// To the nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

// The number of callsigns a group-count text asks for, as the generator reads it:
// to the nearest whole number (a half to the even neighbour), 0 for anything not a
// number or below 1, at most 32767.
int groupsWanted(const std::string& text);

}  // namespace tessaly
