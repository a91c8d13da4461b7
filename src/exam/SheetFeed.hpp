#pragma once

#include <functional>
#include <optional>
#include <string>

namespace skorvin::exam {

// What the printed score sheet is filled from, free of the report engine: its two title lines
// and the listed rows, walked in list order (GBK texts).
struct SheetFeed {
    std::string title;   // the examination date's title
    std::string heading; // the organisation's name and "四级主观题登分表"; it also names the print job
    int rowCount = 0;
    std::function<void()> first;
    std::function<void()> next;
    // The current row's value of a name the sheet asks for: ZKZH, XM and FS trimmed; nullopt
    // leaves every other name to the report engine.
    std::function<std::optional<std::string>(const std::string& name)> value;
};

} // namespace skorvin::exam
