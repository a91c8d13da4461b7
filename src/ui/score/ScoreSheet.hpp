// ScoreSheet: the printed score sheet, the report template beside the host filled from a feed.
#pragma once

#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"

#include <string>

class QWidget;

namespace skorvin::exam {
struct SheetFeed;
}

namespace skorvin::ui {

// The report and its dataset, named as the window's components. The window keeps one for its
// life, so that the report previewed stays the one the preview was built from.
class ScoreSheet {
public:
    ScoreSheet();
    ScoreSheet(const ScoreSheet&) = delete;
    ScoreSheet& operator=(const ScoreSheet&) = delete;

    // Loads the template at templatePath (GBK), puts the feed's title lines into memo1 and
    // memo2, and previews the sheet of feed's rows over owner until the preview is closed. A
    // missing template is the error box naming it; nothing is printed then.
    void print(const exam::SheetFeed& feed, const std::string& templatePath, QWidget* owner);

private:
    report::TReport Report1{"Report1"};
    report::TUserDataset UserDataset1{"UserDataset1"};
};

} // namespace skorvin::ui
