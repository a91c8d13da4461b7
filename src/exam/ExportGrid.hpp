#pragma once

#include "platform/recordset/TCustomADODataSet.hpp"

#include <string>
#include <vector>

namespace skorvin::exam {

// What the grid export needs of a grid: its titles and visible columns, its dataset and
// a way to come back to the rows it showed. Columns are named by an index of the grid's own.
class ExportGrid {
public:
    virtual ~ExportGrid() = default;

    // Whether the grid shows a title row.
    virtual bool titlesShown() const = 0;
    // The visible columns, in the order the grid shows them.
    virtual std::vector<int> VisibleColumnList() const = 0;
    virtual int FooterRowCount() const = 0;
    virtual ado::TCustomADODataSet& boundDataSet() const = 0;
    // GBK texts: a column's title, the text its cell shows for the dataset's current
    // record (NULL as empty text), and a footer cell.
    virtual std::string titleCaption(int column) const = 0;
    virtual std::string cellText(int column) const = 0;
    virtual std::string footerText(int column, int footerIndex) const = 0;
    // The dataset field a column shows.
    virtual std::string fieldName(int column) const = 0;

    // Remembers the current record by its distance from the middle of the rows on screen.
    void SaveGridPosition();
    // Brings back the record current at SaveGridPosition, with the same rows around it.
    void RestoreGridPosition();

    ado::TCustomADODataSet::Bookmark SavedPositionMark = 0;
    int PositionOffset = 0;

protected:
    // How many records the grid's window shows (at least 1 while the dataset has
    // records) and where the current one stands in it, counted from 0.
    virtual int windowRecordCount() const = 0;
    virtual int currentWindowIndex() const = 0;
};

} // namespace skorvin::exam
