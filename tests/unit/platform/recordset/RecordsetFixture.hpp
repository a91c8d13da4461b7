#pragma once

#include "plain/ScratchDb.hpp"
#include "platform/Exception.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace skorvin::test {

// Five candidates in number order: two without a score (NULL), one with an empty
// score text, two scored. The list dataset is named as the window names it.
class RecordsetTest : public ::testing::Test {
protected:
    RecordsetTest()
    {
        db.run({"create table t_omr (zkzh text, tttt text, xm text)",
                "insert into t_omr values ('4001', null, 'A'), ('4002', '', 'B'), ('4003', '35', 'C'), "
                "('4004', null, 'D'), ('4005', '27.5', 'E')"});
        list.setConnection(&db.connection());
        list.setCommandText("select zkzh, tttt, xm from t_omr order by zkzh");
        list.afterScroll = [this] { ++scrolls; };
    }

    // The admission numbers of the visible view, in order.
    std::string viewNumbers() const
    {
        std::string out;
        for (int r = 0; r < list.recordCount(); ++r)
            out += (out.empty() ? "" : " ") + list.viewValue(r, 0).value_or("NULL");
        return out;
    }

    std::string current() const { return list.fieldText("zkzh"); }

    static std::string errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const EDatabaseError& e) {
            return e.message();
        }
        return "(no error)";
    }

    ScratchDb db;
    ado::TADODataSet list{"Main_AdoSet"};
    int scrolls = 0;
};

inline const std::string kUnscored = " tttt = null or tttt=''";
inline const std::string kScored = " tttt <> null and tttt<>''";

} // namespace skorvin::test
