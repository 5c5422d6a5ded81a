// What a `.sm` file cannot hold of a song read from a `.ssc` file: its delays, its
// warps, the charts kept as read with timing of their own, and the chart tags a
// "#NOTES" statement has no place for (a chart's name, style or credit). Saving such a
// song as `.sm` asks first, naming them and offering `.ssc`.
#pragma once

#include <string>
#include <vector>

#include "items/item_store.h"
#include "model/song.h"

namespace quillex {

// One line per kind of thing left out ("2 delays", "the chart dance-single Edit "a"
// kept as read (it has timing of its own)", "#CREDIT of the chart dance-single Hard");
// empty when a `.sm` file holds the whole song.
std::vector<std::string> smLosses(const Song& song, const ItemStore& store);

// The question a `.sm` save asks when something would be left out: Yes writes the file
// without it, No writes nothing.
std::string smLossQuestion(const std::vector<std::string>& losses);

} // namespace quillex
