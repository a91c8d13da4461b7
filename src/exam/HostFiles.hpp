#pragma once

#include <string>

namespace skorvin::exam {

// The files the score window keeps in the host program's folder (GBK paths). The library
// builds one value when the window opens; everything below takes its paths from it, so that
// a test points a window at a folder of its own.
struct HostFiles {
    std::string settings;       // kavrint.ini: decimal places and maximum score
    std::string journal;        // 登分日志.sqlite: the score journal, beside the settings
    std::string reportTemplate; // 报表/四级考生主观题分数报表.rtpl: the printed sheet

    // The files in folder (GBK, ending in its separator; empty for the current folder). The
    // report's subfolder is joined with the separator the folder ends in.
    static HostFiles in(const std::string& folder);
};

} // namespace skorvin::exam
