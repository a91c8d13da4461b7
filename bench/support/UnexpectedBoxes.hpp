#pragma once

#include "ui/seams/Dialogs.hpp"

#include <cstdio>
#include <cstdlib>

namespace skorvin::bench {

// The operator in front of a measured window: any box means the figure is wrong, so it
// says which and stops. A benchmark overrides the boxes it expects and answers them.
class UnexpectedBoxes : public ui::Dialogs {
public:
    void message(QWidget*, const QString&, const QString& text, Icon) override { stop(text); }
    bool confirm(QWidget*, const QString&, const QString& text) override { stop(text); }
    bool ask(QWidget*, const QString&, const QString& text, bool) override { stop(text); }
    int choose(QWidget*, const QString&, const QString& text, const QStringList&, int) override { stop(text); }
    QString saveFileName(QWidget*, const QString& proposedName, const QString&) override { stop(proposedName); }

protected:
    [[noreturn]] static void stop(const QString& text)
    {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        std::abort();
    }
};

} // namespace skorvin::bench
