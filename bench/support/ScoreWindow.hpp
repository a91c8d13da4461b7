#pragma once

#include "exam/ModuleState.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/score/frmSkorvin_UNIT.hpp"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace skorvin::ui {
class Dialogs;
}

namespace skorvin::bench {

// The score window shown on a demo database as the operator finds it (the installation's
// province listed), its boxes answered by the benchmark's stand-in operator.
class ScoreWindow {
public:
    ScoreWindow(const std::filesystem::path& database, ui::Dialogs& boxes);
    ~ScoreWindow();
    ScoreWindow(const ScoreWindow&) = delete;
    ScoreWindow& operator=(const ScoreWindow&) = delete;

    ado::TADOConnection& connection() { return connection_; }
    ui::TfrmSkorvin& window() { return *window_; }

    // The control of that name; a missing one stops the program, saying which.
    template <typename T> T* child(const char* name) const
    {
        T* widget = window_->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            std::fprintf(stderr, "no control named %s\n", name);
            std::abort();
        }
        return widget;
    }

    // Posted work done and the whole window painted.
    void settle();

private:
    ado::TADOConnection connection_;
    exam::ModuleState state_;
    std::unique_ptr<ui::TfrmSkorvin> window_;
};

} // namespace skorvin::bench
