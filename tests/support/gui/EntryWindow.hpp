#pragma once

#include "gui/ScoreWindow.hpp"

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace skorvin::test {

// The settings file the score window reads (windowFiles()).
std::filesystem::path settingsFile();
void writeSettings(const std::string& xs, const std::string& up);

// The first column of the first row of a query, read through a connection of its own
// (GBK text; nullopt for NULL or no row).
std::optional<std::string> firstValue(const std::string& connectionString, const std::string& sql,
                                      const std::vector<std::optional<std::string>>& params = {});

// The score window shown on the demo database (province 11, 未登分 chosen), with the
// settings file Xs = 1, Up = 40, removed again afterwards.
struct EntryWindow : ScoreWindow {
    explicit EntryWindow(Server server = Server::Sqlite);
    ~EntryWindow();

    // The database's score of a candidate, read through a connection of its own.
    std::optional<std::string> storedScore(const std::string& number) const;
    // Number of the list's row at a view position (GBK text).
    std::string listedNumber(int viewRow) const { return listed(viewRow, "zkzh"); }

    void showAll();
    void clickRow(int viewRow);
    // Keys in a number and a score with Enter after each, as the operator does.
    void keyIn(const std::string& number, const QString& score);
};

} // namespace skorvin::test
